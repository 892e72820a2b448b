#pragma once

#include "book.h"

#include <QVariantList>

class QSqlQuery;

namespace shelvio {

class Statement;

// A book from a row whose first columns are, in this order: BookID, Title,
// GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating,
// WantToBuy, OwnBook, ReadBook, GB1 (every statement that reads whole books
// selects them so). Categories are left empty.
Book bookFromRow(const Statement& row);

// The values of a book in the order the insert and update statements take
// them: Title, Author, YearPublished, Rating, DateRead, Comments, Cost,
// WantToBuy, OwnBook, Pages, ReadBook, GB1, GA1, GA2. The sort title is
// taken as it stands.
QVariantList storedBookValues(const Book& book);

} // namespace shelvio
