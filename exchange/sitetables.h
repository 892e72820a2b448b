#pragma once

#include "csv.h"
#include "importrecord.h"

#include <QStringList>

#include <functional>

// The CSV files that other catalogues write, read by their own column
// names: Goodreads' library export and calibre's CSV catalogue.
namespace shelvio::exchange {

using RowReader = std::function<ImportRecord(const CsvRecord& row)>;

// Goodreads: Title, Author, Author l-f, My Rating, Number of Pages, Year
// Published, Original Publication Year, Date Read, Bookshelves, Exclusive
// Shelf, Owned Copies, My Review, ... The shelf "read" sets Have Read and
// "to-read" Want to Read; every other shelf becomes a category. A rating of
// 1 to 5 stars ticks Bad to Excellent.
bool isGoodreadsExport(const QStringList& header);
RowReader goodreadsReader(const QStringList& header);

// calibre (calibredb catalog with a .csv name): title, authors, author_sort,
// pubdate, rating (0 to 5 stars), tags, comments, formats, ... Tags become
// categories; a book with files (formats) is owned; calibre's "Unknown"
// author and its undefined date (year 101) are left empty.
bool isCalibreCatalogue(const QStringList& header);
RowReader calibreReader(const QStringList& header);

} // namespace shelvio::exchange
