#include "reportdata.h"

#include "bookrows.h"
#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "schema.h"
#include "statement.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// The report statements are put together from these fixed pieces only; no
// value is ever part of the text.
// The columns of bookFromRow (bookrows.h), in its order.
constexpr char selectBooks[] =
    "SELECT BookID, Title, coalesce(nullif(GA2, ''), Title, ''), trim(ifnull(Author, '')), "
    "trim(ifnull(GA1, '')), YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books";

constexpr char whereReadBook[] = " WHERE ifnull(ReadBook, 0) <> 0";
constexpr char whereWantToRead[] = " WHERE ifnull(GB1, 0) <> 0";
constexpr char whereWantToBuy[] = " WHERE ifnull(WantToBuy, 0) <> 0";
constexpr char whereOwnBook[] = " WHERE ifnull(OwnBook, 0) <> 0";

constexpr char orderByTitle[] = " ORDER BY shelvio_sortkey(coalesce(nullif(GA2, ''), Title, '')), BookID";

// By the name each book is filed under (filedAuthorName), then by the first
// name of those filed under their last name. Books with neither a last nor a
// first name come after all named authors; names equal but for case are kept
// apart by the exact text.
constexpr char orderByAuthor[] =
    " ORDER BY (trim(ifnull(Author, '')) = '' AND trim(ifnull(GA1, '')) = ''), "
    "shelvio_sortkey(coalesce(nullif(trim(ifnull(Author, '')), ''), trim(ifnull(GA1, '')))), "
    "shelvio_sortkey(CASE WHEN trim(ifnull(Author, '')) = '' THEN '' ELSE trim(ifnull(GA1, '')) END), "
    "trim(ifnull(Author, '')), trim(ifnull(GA1, '')), "
    "shelvio_sortkey(coalesce(nullif(GA2, ''), Title, '')), BookID";

constexpr char orderByRating[] = " ORDER BY CASE WHEN Rating BETWEEN 2 AND 10 THEN Rating ELSE 0 END DESC, "
                                 "shelvio_sortkey(coalesce(nullif(GA2, ''), Title, '')), BookID";

constexpr char categoriesOfBooks[] = "SELECT l.BookID, c.CategoryName FROM BookCategoryLink l "
                                     "JOIN Category c ON c.CategoryID = l.CategoryKey "
                                     "ORDER BY l.BookID, shelvio_sortkey(c.CategoryName), c.CategoryID";

// Orders by the date read, keeping the title order within a date.
void sortByReadDate(std::vector<Book>* books)
{
    std::vector<ReadDate> dates;
    dates.reserve(books->size());
    for (const Book& book : *books)
        dates.push_back(parseReadDate(book.dateRead));
    std::vector<size_t> order(books->size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return readDateBefore(dates[a], dates[b]); });
    std::vector<Book> sorted;
    sorted.reserve(books->size());
    for (size_t i : order)
        sorted.push_back(std::move((*books)[i]));
    books->swap(sorted);
}

QString booksStatement(BookSelection selection, BookOrder order)
{
    QString text = QString::fromLatin1(selectBooks);
    switch (selection) {
    case BookSelection::All:
        break;
    case BookSelection::ReadBook:
        text += QString::fromLatin1(whereReadBook);
        break;
    case BookSelection::WantToRead:
        text += QString::fromLatin1(whereWantToRead);
        break;
    case BookSelection::WantToBuy:
        text += QString::fromLatin1(whereWantToBuy);
        break;
    case BookSelection::OwnBook:
        text += QString::fromLatin1(whereOwnBook);
        break;
    }
    switch (order) {
    case BookOrder::ByAuthor:
        return text + QString::fromLatin1(orderByAuthor);
    case BookOrder::ByRating:
        return text + QString::fromLatin1(orderByRating);
    case BookOrder::ByTitle:
    case BookOrder::ByReadDate: // sorted by date afterwards, keeping title order within a date
        break;
    }
    return text + QString::fromLatin1(orderByTitle);
}

Status readBooks(const QSqlDatabase& db, const ReportQuery& query, std::vector<Book>* books)
{
    Statement rows(db, booksStatement(query.selection, query.order));
    if (Status ran = rows.run(); !ran)
        return ran;
    for (;;) {
        const Result<bool> next = rows.next();
        if (!next)
            return next.error();
        if (!*next)
            break;
        books->push_back(bookFromRow(rows));
    }
    if (query.order == BookOrder::ByReadDate)
        sortByReadDate(books);
    return {};
}

Status readCategories(const QSqlDatabase& db, std::vector<Book>* books)
{
    QHash<qint64, size_t> byId;
    byId.reserve(qsizetype(books->size()));
    for (size_t i = 0; i < books->size(); ++i)
        byId.insert(*(*books)[i].id, i);
    Statement rows(db, categoriesOfBooks);
    if (Status ran = rows.run(); !ran)
        return ran;
    for (;;) {
        const Result<bool> next = rows.next();
        if (!next)
            return next.error();
        if (!*next)
            return {};
        const auto found = byId.constFind(rows.value(0).toLongLong());
        if (found != byId.constEnd())
            (*books)[*found].categories << rows.value(1).toString();
    }
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

} // namespace

// One read of the file, inside one read transaction so that the books and
// their categories come from the same state of the catalogue.
Result<std::vector<Book>> readReportBooks(const ReportQuery& query)
{
    if (query.cataloguePath.isEmpty())
        return Error::failed(u"The report has not been pointed at a catalogue file."_s);
    if (Status usable = checkFile(query.cataloguePath); !usable)
        return usable.error();
    QSqlDatabase db;
    if (Result<QSqlDatabase> opened = openConnection(query.cataloguePath, Access::ReadOnly); opened)
        db = *opened;
    else
        return opened.error();
    std::vector<Book> books;
    Status read = schema::verify(db);
    if (!read)
        read = Error::failed(u"The file %1 is not a catalogue. %2"_s.arg(
            QDir::toNativeSeparators(query.cataloguePath), read.error().text()));
    if (read) {
        WriteTransaction readOnly(db); // only reads: its end lets go of the lock
        read = readOnly.begun();
        if (read)
            read = readBooks(db, query, &books);
        if (read && query.withCategories)
            read = readCategories(db, &books);
    }
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
