#include "importfile.h"

#include "bookcsv.h"
#include "catalogue.h"
#include "sitetables.h"
#include "tellico.h"
#include "textfile.h"
#include "textfold.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

FileKind tableKind(const QStringList& header)
{
    if (header == bookCsvHeader())
        return FileKind::TomariumCsv;
    if (isGoodreadsExport(header))
        return FileKind::Goodreads;
    if (isCalibreCatalogue(header))
        return FileKind::Calibre;
    return FileKind::Table;
}

// A table names its columns in its first row: two names or more, or one
// that is known to be the titles.
bool namesColumns(const QStringList& header)
{
    qsizetype named = 0;
    for (const QString& name : header) {
        if (!name.trimmed().isEmpty())
            ++named;
    }
    return named >= 2 || guessMapping(header).contains(Column::Title);
}

Result<ImportSource> readTable(ImportSource source, const QByteArray& bytes,
                               const QByteArray& fallbackEncoding)
{
    const Result<QString> text = decodeText(bytes, fallbackEncoding);
    if (!text)
        return text.error();
    Result<QList<CsvRecord>> records = parseCsv(*text, guessSeparator(*text));
    if (!records)
        return records.error();
    if (records->isEmpty() || !namesColumns(records->first().fields)) {
        return Error::failed(u"The file is not a CSV or tab-separated table: its first line should name the "
                             u"columns (Title, Author, ...)."_s);
    }
    source.header = records->takeFirst().fields;
    source.rows = std::move(*records);
    source.kind = tableKind(source.header);
    source.mapping = guessMapping(source.header);
    return source;
}

RowReader readerFor(const ImportSource& source)
{
    switch (source.kind) {
    case FileKind::TomariumCsv:
        return recordFromBookCsv;
    case FileKind::Goodreads:
        return goodreadsReader(source.header);
    case FileKind::Calibre:
        return calibreReader(source.header);
    case FileKind::Tellico:
    case FileKind::Table:
        break;
    }
    return [mapping = source.mapping](const CsvRecord& row) {
        return recordFromMappedRow(mapping, row);
    };
}

// Files written by programs keep their numbers in plain C form; a table
// from a spreadsheet may use the user's.
QLocale numberLocale(FileKind kind)
{
    return kind == FileKind::Table ? QLocale() : QLocale::c();
}

QString bookIdentity(const QString& title, const QString& author, const QString& firstName)
{
    return sortKey(title) + u'\x1f' + sortKey(author) + u'\x1f' + sortKey(firstName);
}

QString plural(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace

QString fileKindName(FileKind kind)
{
    switch (kind) {
    case FileKind::TomariumCsv:
        return u"Tomarium CSV export"_s;
    case FileKind::Goodreads:
        return u"Goodreads library export"_s;
    case FileKind::Calibre:
        return u"calibre CSV catalogue"_s;
    case FileKind::Tellico:
        return u"Tellico collection"_s;
    case FileKind::Table:
        break;
    }
    return u"table with a header row"_s;
}

Result<ImportSource> readImportFile(const QString& path, const QByteArray& fallbackEncoding)
{
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    if (bytes->isEmpty())
        return Error::failed(u"The file is empty (0 bytes)."_s);
    ImportSource source;
    const bool namedTellico = QFileInfo(path).suffix().compare(u"tc"_s, Qt::CaseInsensitive) == 0;
    if (looksLikeTellico(*bytes) || namedTellico) {
        Result<QList<ImportRecord>> records = readTellico(*bytes);
        if (!records)
            return records.error();
        source.kind = FileKind::Tellico;
        source.records = std::move(*records);
        return source;
    }
    return readTable(std::move(source), *bytes,
                     fallbackEncoding.isEmpty() ? localeEncoding() : fallbackEncoding);
}

QList<ImportRecord> importRecords(const ImportSource& source)
{
    if (source.kind == FileKind::Tellico)
        return source.records;
    const RowReader read = readerFor(source);
    QList<ImportRecord> records;
    records.reserve(source.rows.size());
    for (const CsvRecord& row : source.rows)
        records << read(row);
    return records;
}

ImportPlan planRecords(FileKind kind, const QList<ImportRecord>& records)
{
    ImportPlan plan;
    plan.kind = kind;
    plan.rowsRead = records.size();
    const QLocale numbers = numberLocale(kind);
    plan.books.reserve(size_t(records.size()));
    for (const ImportRecord& record : records) {
        if (std::optional<Book> book = bookFromRecord(record, numbers, &plan.problems)) {
            plan.books.push_back(std::move(*book));
            plan.lines.push_back(record.line);
        }
    }
    plan.onFile.assign(plan.books.size(), false);
    return plan;
}

ImportPlan planImport(const ImportSource& source)
{
    return planRecords(source.kind, importRecords(source));
}

qint64 ImportPlan::onFileCount() const
{
    return std::count(onFile.begin(), onFile.end(), true);
}

std::vector<Book> ImportPlan::booksToAdd(bool withBooksOnFile) const
{
    std::vector<Book> chosen;
    chosen.reserve(books.size());
    for (size_t i = 0; i < books.size(); ++i) {
        if (withBooksOnFile || !onFile[i])
            chosen.push_back(books[i]);
    }
    return chosen;
}

Status markBooksOnFile(ImportPlan* plan, Catalogue& catalogue)
{
    QSet<QString> wanted;
    for (const Book& book : plan->books)
        wanted.insert(bookIdentity(book.title, book.author, book.firstName));
    QSet<QString> found;
    const Status read = catalogue.forEachTitleAndAuthor(
        [&](const QString& title, const QString& author, const QString& firstName) {
            const QString identity = bookIdentity(title, author, firstName);
            if (wanted.contains(identity))
                found.insert(identity);
        });
    if (!read)
        return read;
    for (size_t i = 0; i < plan->books.size(); ++i) {
        const Book& book = plan->books[i];
        plan->onFile[i] = found.contains(bookIdentity(book.title, book.author, book.firstName));
    }
    return {};
}

QStringList problemLines(const ImportPlan& plan)
{
    QStringList lines;
    for (const RowProblem& problem : plan.problems)
        lines << u"Line %1: %2"_s.arg(problem.line).arg(problem.text);
    return lines;
}

QString planSummary(const ImportPlan& plan)
{
    const qint64 onFile = plan.onFileCount();
    QString text =
        u"%1 read from the %2.\n"_s.arg(plural(plan.rowsRead, u"row"_s, u"rows"_s), fileKindName(plan.kind));
    text += u"%1 to add"_s.arg(plural(qint64(plan.books.size()) - onFile, u"book"_s, u"books"_s));
    if (onFile > 0) {
        text += onFile == 1 ? u", and 1 book that looks like a book already on file"_s
                            : u", and %1 books that look like books already on file"_s.arg(onFile);
        text += u" (the same title and author)"_s;
    }
    text += u".\n"_s;
    return text;
}

} // namespace shelvio::exchange
