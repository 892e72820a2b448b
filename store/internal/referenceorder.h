#pragma once

#include "book.h"
#include "reportdata.h"
#include "result.h"

#include <QString>

#include <vector>

// The orderings as SQLite itself gives them, ORDER BY the shelvio_sortkey
// function that every connection registers: the way the catalogue first
// ordered its books, kept so that the orderings made in the program can be
// held against it.
namespace shelvio::reference {

enum class TreeOrdering { ByTitle, ByAuthor, ByCategory };

// One row of a tree ordering's query, in the query's order.
struct TreeRow {
    qint64 id = 0;
    QString sortTitle;
    QString author;    // the author ordering's rows only
    QString firstName; // the author ordering's rows only
    QString category;  // the category ordering's rows only
};

Result<std::vector<TreeRow>> treeRows(const QString& cataloguePath, TreeOrdering ordering);

// The books of a report in the report's order.
Result<std::vector<Book>> reportBooks(const ReportQuery& query);

} // namespace shelvio::reference
