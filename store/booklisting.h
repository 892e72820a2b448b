#pragma once

#include "textcolumn.h"

#include <QString>

#include <vector>

namespace shelvio {

// The books of one of the tree's orderings, read in one go: every book once
// with its number and sort title, and the rows of the ordering, each naming
// its book. In the category ordering a book has a row for each of its
// categories, or none.
struct BookListing {
    std::vector<qint64> ids;  // every book on file, by number
    TextColumn sortTitles;    // GA2 of each book as stored; Null reads as empty
    std::vector<qint32> rows; // in the ordering's order: places in ids

    // Rows that follow each other with the same names as stored (author
    // ordering: last and first name, Null read as empty) or the same
    // category (category ordering: its name) form a run.
    struct Run {
        qint32 firstRow = 0;
        QString name; // the last name, or the category's name
        QString firstName;
    };
    std::vector<Run> runs; // none in the title ordering

    qint64 bookCount() const { return qint64(ids.size()); }
};

} // namespace shelvio
