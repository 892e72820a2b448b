#include "reportdata.h"

#include "bookrows.h"
#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "reportreading.h"
#include "schema.h"
#include "statement.h"
#include "statements.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

using namespace sql::report;

// Orders books that came in title order by a key of each, keeping the title
// order among equal keys.
template <class Key, class Less> void sortKeepingTitleOrder(std::vector<Book>* books, Key key, Less less)
{
    std::vector<decltype(key(books->front()))> keys;
    keys.reserve(books->size());
    for (const Book& book : *books)
        keys.push_back(key(book));
    std::vector<size_t> order(books->size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(keys[a], keys[b]); });
    std::vector<Book> sorted;
    sorted.reserve(books->size());
    for (size_t i : order)
        sorted.push_back(std::move((*books)[i]));
    books->swap(sorted);
}

// The read date, oldest first; the rating, best first with unrated books and
// values off the scale last. Any other order stands as read.
void sortInProgram(BookOrder order, std::vector<Book>* books)
{
    if (books->empty())
        return;
    if (order == BookOrder::ByReadDate) {
        sortKeepingTitleOrder(
            books, [](const Book& book) { return parseReadDate(book.dateRead); }, readDateBefore);
    } else if (order == BookOrder::ByRating) {
        sortKeepingTitleOrder(
            books, [](const Book& book) { return ratingOnScale(book.rating) ? *book.rating : 0; },
            std::greater<qint64>());
    }
}

SqlText selectionClause(BookSelection selection)
{
    switch (selection) {
    case BookSelection::ReadBook:
        return whereReadBook;
    case BookSelection::WantToRead:
        return whereWantToRead;
    case BookSelection::WantToBuy:
        return whereWantToBuy;
    case BookSelection::OwnBook:
        return whereOwnBook;
    case BookSelection::All:
        break;
    }
    return everyBook;
}

SqlText orderClause(BookOrder order)
{
    switch (order) {
    case BookOrder::ByAuthor:
        return orderByAuthor;
    case BookOrder::ByTitle:
    case BookOrder::ByReadDate: // sorted afterwards, keeping the title order within a date or rating
    case BookOrder::ByRating:
        break;
    }
    return orderByTitle;
}

Status readBooks(const QSqlDatabase& db, const ReportQuery& query, std::vector<Book>* books)
{
    Statement rows(db, {selectBooks, selectionClause(query.selection), orderClause(query.order)});
    const Status read =
        rows.forEachRow({}, [&](const Statement& row) { books->push_back(bookFromRow(row)); });
    if (read)
        sortInProgram(query.order, books);
    return read;
}

Status readCategories(const QSqlDatabase& db, std::vector<Book>* books)
{
    QHash<qint64, size_t> byId;
    byId.reserve(qsizetype(books->size()));
    for (size_t i = 0; i < books->size(); ++i)
        byId.insert(*(*books)[i].id, i);
    Statement rows(db, categoriesOfBooks);
    return rows.forEachRow({}, [&](const Statement& row) {
        const auto found = byId.constFind(row.value(0).toLongLong());
        if (found != byId.constEnd())
            (*books)[*found].categories << row.value(1).toString();
    });
}

// Says what is wrong with the file at `path` for a report, in words for the
// user; the older format gets the way out.
Status checkFile(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const FileKind kind = detectFileKind(path);
    if (kind == FileKind::Jet)
        return Error::failed(
            u"The catalogue file %1 is still in the older program's format. Open it once in "
            u"the editor (tomarium), which converts it, and then open the reports again."_s.arg(shown));
    if (const auto problem = fileKindProblem(kind))
        return Error::failed(u"The catalogue %1 cannot be read. %2"_s.arg(shown, *problem));
    return {};
}

Error cannotRead(const QString& path, const Error& cause)
{
    return Error::failed(
        u"The catalogue %1 cannot be read. %2"_s.arg(QDir::toNativeSeparators(path), cause.text()));
}

// One read of the file, inside one read transaction so that the books and
// their categories come from the same state of the catalogue. Every error
// names the file.
Status readCatalogue(const QSqlDatabase& db, const ReportQuery& query, std::vector<Book>* books)
{
    // A file SQLite cannot read, or one locked for longer than the wait,
    // fails here; asking for its tables would only find none.
    if (Status readable = Statement(db, sql::countSchemaEntries).run(); !readable)
        return cannotRead(query.cataloguePath, readable.error());
    if (Status tables = schema::verify(db); !tables)
        return Error::failed(u"The file %1 is not a catalogue. %2"_s.arg(
            QDir::toNativeSeparators(query.cataloguePath), tables.error().text()));
    WriteTransaction readOnly(db); // only reads: its end lets go of the lock
    Status read = readOnly.begun();
    if (read)
        read = readBooks(db, query, books);
    if (read && query.withCategories)
        read = readCategories(db, books);
    if (!read)
        return cannotRead(query.cataloguePath, read.error());
    return {};
}

} // namespace

Result<std::vector<Book>> readReportBooks(const ReportQuery& query)
{
    return readReportBooks(query, RowOrder::BySql);
}

// One read of the file; every error names the file.
Result<std::vector<Book>> readReportBooks(const ReportQuery& query, RowOrder)
{
    if (query.cataloguePath.isEmpty())
        return Error::failed(u"The report has not been pointed at a catalogue file."_s);
    if (Status usable = checkFile(query.cataloguePath); !usable)
        return usable.error();
    QSqlDatabase db;
    if (Result<QSqlDatabase> opened = openConnection(query.cataloguePath, Access::ReadOnly); opened)
        db = *opened;
    else
        return cannotRead(query.cataloguePath, opened.error());
    std::vector<Book> books;
    const Status read = readCatalogue(db, query, &books);
    closeConnection(db);
    if (!read)
        return read.error();
    return books;
}

QString filedAuthorName(const Book& book)
{
    return book.author.isEmpty() ? book.firstName : book.author;
}

ReadDate parseReadDate(const QString& stored)
{
    const ReadDateParts parts = splitReadDate(stored);
    const auto number = [](const QString& text, int digitsMin, int digitsMax) -> std::optional<int> {
        const QString trimmed = text.trimmed();
        if (trimmed.size() < digitsMin || trimmed.size() > digitsMax)
            return std::nullopt;
        for (QChar c : trimmed) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
        }
        return trimmed.toInt();
    };
    ReadDate date;
    date.year = number(parts.year, 4, 4);
    if (!date.year)
        return date;
    date.month = number(parts.month, 1, 2);
    if (date.month && (*date.month < 1 || *date.month > 12))
        date.month.reset();
    if (date.month) {
        date.day = number(parts.day, 1, 2);
        if (date.day && !QDate(*date.year, *date.month, *date.day).isValid())
            date.day.reset();
    }
    return date;
}

bool readDateBefore(const ReadDate& a, const ReadDate& b)
{
    const auto key = [](const ReadDate& d) {
        return std::make_tuple(d.year ? 0 : 1, d.year.value_or(0), d.month.value_or(13), d.day.value_or(32));
    };
    return key(a) < key(b);
}

} // namespace shelvio
