#pragma once

#include "book.h"
#include "reportrows.h"
#include "result.h"

#include <QString>

#include <optional>
#include <vector>

// What the report viewer reads of the catalogue: the books of one report, in
// the report's order, optionally with the names of each book's categories.
// Every read opens the file afresh, read-only, so that a catalogue changed or
// restored since the last read is seen.
namespace shelvio {

// Which books a report lists: all of them, or those with one flag set. A
// flag counts as set only when it holds true; Null counts as clear.
enum class BookSelection { All, ReadBook, WantToRead, WantToBuy, OwnBook };

enum class BookOrder {
    ByAuthor,   // filed name (below), first name, sort title; books without an author last
    ByTitle,    // sort title
    ByReadDate, // the date read, oldest first; books without a readable date last
    ByRating,   // best first; unrated books (and values off the scale) last
};

// The name a book is filed under in the author order: its last name, or its
// first name where it has no last name. Empty for a book without an author.
QString filedAuthorName(const Book& book);

struct ReportQuery {
    QString cataloguePath; // the catalogue file every table is read from
    BookSelection selection = BookSelection::All;
    BookOrder order = BookOrder::ByTitle;
    bool withCategories = false; // fill each book's categories
};

// The books of a report, in its order: every table read once, front to
// back, and put in order in the program over sort keys. The error says, for
// the user, what went wrong (file missing, in the older Jet format, not a
// catalogue, unreadable). The names come without blanks at the ends and the
// sort title is never empty (see Book).
Result<ReportRows> readReportRows(const ReportQuery& query);

// A stored read date ("m/d/yyyy" as typed) as far as it can be read: the year
// when it has four digits, the month when it is 1 to 12, the day when it makes
// a real date with them. Anything else is left unknown.
struct ReadDate {
    std::optional<int> year;
    std::optional<int> month;
    std::optional<int> day;
};
ReadDate parseReadDate(const QString& stored);

// Orders read dates: known years first, by year, month and day; within a
// year the dates known only in part come after the full ones.
bool readDateBefore(const ReadDate& a, const ReadDate& b);

} // namespace shelvio
