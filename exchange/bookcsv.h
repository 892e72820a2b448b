#pragma once

#include "book.h"
#include "csv.h"
#include "importrecord.h"
#include "result.h"

#include <QStringList>

namespace shelvio {
class Catalogue;
}

// The catalogue's own CSV file: one header row and one row per book, every
// field the editor shows, UTF-8, as RFC 4180 writes it. Exported and
// imported again, it gives the same books.
namespace shelvio::exchange {

// Title, Author First Name, Author Last Name, Year Published, Pages, Cost,
// Date Read, Rating, Have Read, Want to Read, Want to Buy, Own, Comments,
// Categories, Book Number.
const QStringList& bookCsvHeader();

// A book's fields in the order of the header: numbers in plain C form
// (empty for none), the date read as stored, the rating in words, the flags
// as Yes or No, the categories joined by "; ".
QStringList bookCsvFields(const Book& book);

// A row of such a file; the book number is not read (an imported book gets
// a new one).
ImportRecord recordFromBookCsv(const CsvRecord& row);

// Writes every book of the catalogue, by number, to `path`; the file is
// replaced only once it is whole. Returns the number of books written.
Result<qint64> exportBooks(Catalogue& catalogue, const QString& path);

} // namespace shelvio::exchange
