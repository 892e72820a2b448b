#pragma once

#include "book.h"
#include "columns.h"
#include "csv.h"
#include "importrecord.h"
#include "result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace shelvio {
class Catalogue;
}

// A file to bring books in from: what kind it is, its rows, and the plan of
// what an import of it would add, before anything is written.
namespace shelvio::exchange {

enum class FileKind {
    TomariumCsv, // our own export
    Goodreads,
    Calibre,
    Tellico,
    Table, // any other CSV or tab-separated file with a header row
};

// "Tomarium CSV export", "Goodreads library export", ...
QString fileKindName(FileKind kind);

struct ImportSource {
    FileKind kind = FileKind::Table;
    QStringList header;          // the tables' header row
    QList<CsvRecord> rows;       // the tables' rows after the header
    QList<ImportRecord> records; // Tellico: the entries, read already
    QList<Column> mapping;       // Table: guessed from the header; the user may change it
};

// Reads and recognises the file. Fails, saying why in words for the user,
// on a file that cannot be read, is empty, is not text in UTF-8 or the
// locale's encoding, is not a table with a header row, has an unclosed
// quote, or is a damaged or foreign Tellico file.
Result<ImportSource> readImportFile(const QString& path, const QByteArray& fallbackEncoding = {});

// The records of the source, read by its kind (a Table by its mapping).
QList<ImportRecord> importRecords(const ImportSource& source);

// What an import of a source would add.
struct ImportPlan {
    FileKind kind = FileKind::Table;
    qint64 rowsRead = 0;
    std::vector<Book> books;    // in the file's order
    std::vector<qint64> lines;  // each book's line in the file
    std::vector<bool> onFile;   // looks like a book already on file
    QList<RowProblem> problems; // in the order of the file
    qint64 onFileCount() const;
    // The books to add: all of them, or those not on file yet.
    std::vector<Book> booksToAdd(bool withBooksOnFile) const;
};

// Applies the catalogue's rules to every record (see bookFromRecord).
ImportPlan planImport(const ImportSource& source);
ImportPlan planRecords(FileKind kind, const QList<ImportRecord>& records);

// Marks the books that look like books on file: the same title and author
// (last and first name), without regard to letter case, accents and the
// blanks at either end.
Status markBooksOnFile(ImportPlan* plan, Catalogue& catalogue);

// "Line 7: the year published ..." for each problem.
QStringList problemLines(const ImportPlan& plan);
// What the plan would do, in a few lines for the user.
QString planSummary(const ImportPlan& plan);

} // namespace shelvio::exchange
