#pragma once

#include "book.h"
#include "result.h"

#include <QVariantList>

class QSqlQuery;

namespace shelvio {

class Statement;

// A book from a row whose first columns are, in this order: BookID, Title,
// GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating,
// WantToBuy, OwnBook, ReadBook, GB1 (every statement that reads whole books
// selects them so). Categories are left empty.
Book bookFromRow(const Statement& row);

// The book with this number and its categories, through a statement on
// sql::bookById and one on sql::categoryNamesOfBook (prepared once by a
// caller that reads many); NotFound when no such book is on file.
Result<Book> readBook(Statement& bookQuery, Statement& categoryQuery, qint64 id);

// The values of a book in the order the insert and update statements take
// them: Title, Author, YearPublished, Rating, DateRead, Comments, Cost,
// WantToBuy, OwnBook, Pages, ReadBook, GB1, GA1, GA2. The sort title is
// taken as it stands.
QVariantList storedBookValues(const Book& book);

} // namespace shelvio
