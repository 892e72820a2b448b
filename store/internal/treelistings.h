#pragma once

#include "booklisting.h"
#include "result.h"

#include <QSqlDatabase>

// The tree's three orderings, read from the file in one pass each and put in
// order in the program: the same rows, in the same order, as the queries
// ordered by shelvio_sortkey() give (see referenceorder.h).
namespace shelvio {

// By sort title (Null first), then number.
Result<BookListing> readBooksByTitle(const QSqlDatabase& db);
// By last name, first name (both without blanks at the ends, Null as empty;
// case and accents set aside, then exactly), then as by title.
Result<BookListing> readBooksByAuthor(const QSqlDatabase& db);
// A row for each link of a book to a category on file: by category name,
// the category's number, then as by title.
Result<BookListing> readBooksByCategory(const QSqlDatabase& db);

} // namespace shelvio
