#include "reportdata.h"

#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "numbers.h"
#include "schema.h"

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
constexpr char selectBooks[] =
    "SELECT BookID, Title, coalesce(nullif(GA2, ''), Title, ''), trim(ifnull(Author, '')), "
    "trim(ifnull(GA1, '')), YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "ReadBook, GB1, WantToBuy, OwnBook FROM Books";

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

ReportBook bookFromRow(const QSqlQuery& row)
{
    ReportBook book;
    book.id = row.value(0).toLongLong();
    book.title = row.value(1).toString();
    book.sortTitle = row.value(2).toString();
    book.author = row.value(3).toString();
    book.firstName = row.value(4).toString();
    book.yearPublished = storedNumber(row.value(5));
    book.pages = storedNumber(row.value(6));
    book.costUnits = storedCostUnits(row.value(7));
    book.dateRead = row.value(8).toString();
    book.comments = row.value(9).toString();
    book.rating = storedNumber(row.value(10));
    book.readBook = row.value(11).toLongLong() != 0;
    book.wantToRead = row.value(12).toLongLong() != 0;
    book.wantToBuy = row.value(13).toLongLong() != 0;
    book.ownBook = row.value(14).toLongLong() != 0;
    return book;
}

bool readBooks(QSqlDatabase& db, const ReportQuery& query, std::vector<ReportBook>* books, QString* error)
{
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(booksStatement(query.selection, query.order))) {
        *error = rows.lastError().text();
        return false;
    }
    while (rows.next())
        books->push_back(bookFromRow(rows));
    if (rows.lastError().isValid()) {
        *error = rows.lastError().text();
        return false;
    }
    if (query.order == BookOrder::ByReadDate) {
        std::vector<ReadDate> dates;
        dates.reserve(books->size());
        for (const ReportBook& book : *books)
            dates.push_back(parseReadDate(book.dateRead));
        std::vector<size_t> order(books->size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return readDateBefore(dates[a], dates[b]); });
        std::vector<ReportBook> sorted;
        sorted.reserve(books->size());
        for (size_t i : order)
            sorted.push_back(std::move((*books)[i]));
        books->swap(sorted);
    }
    return true;
}

bool readCategories(QSqlDatabase& db, std::vector<ReportBook>* books, QString* error)
{
    QHash<qint64, size_t> byId;
    byId.reserve(qsizetype(books->size()));
    for (size_t i = 0; i < books->size(); ++i)
        byId.insert((*books)[i].id, i);
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QString::fromLatin1(categoriesOfBooks))) {
        *error = rows.lastError().text();
        return false;
    }
    while (rows.next()) {
        const auto found = byId.constFind(rows.value(0).toLongLong());
        if (found != byId.constEnd())
            (*books)[*found].categories << rows.value(1).toString();
    }
    if (rows.lastError().isValid()) {
        *error = rows.lastError().text();
        return false;
    }
    return true;
}

// Says what is wrong with the file at `path` for a report, in words for the user.
bool checkFile(const QString& path, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (detectFileKind(path)) {
    case FileKind::SQLite:
        return true;
    case FileKind::Missing:
        *error = u"The catalogue file %1 was not found."_s.arg(shown);
        return false;
    case FileKind::Unreadable:
        *error = u"The catalogue file %1 cannot be read."_s.arg(shown);
        return false;
    case FileKind::Jet:
        *error = u"The catalogue file %1 is still in the older program's format. Open it once in the "
                 u"editor (tomarium), which converts it, and then open the reports again."_s.arg(shown);
        return false;
    case FileKind::Empty:
    case FileKind::Other:
        break;
    }
    *error = u"The file %1 is not a catalogue."_s.arg(shown);
    return false;
}

// One read of one file: the books, and the categories too when they lie in
// the same file, inside one read transaction so that both come from the same
// state of the catalogue.
bool readFile(const QString& path, const ReportQuery& query, bool books, bool categories,
              std::vector<ReportBook>* result, QString* error)
{
    if (!checkFile(path, error))
        return false;
    QSqlDatabase db = openConnection(path, Access::ReadOnly, error);
    if (!db.isOpen())
        return false;
    QString problem;
    bool ok = schema::verify(db, &problem);
    if (!ok)
        *error = u"The file %1 is not a catalogue. %2"_s.arg(QDir::toNativeSeparators(path), problem);
    if (ok && !db.transaction()) {
        *error = db.lastError().text();
        ok = false;
    }
    if (ok) {
        ok = (!books || readBooks(db, query, result, error)) &&
             (!categories || readCategories(db, result, error));
        db.rollback(); // nothing was written: this only ends the read
    }
    closeConnection(db);
    return ok;
}

} // namespace

std::optional<std::vector<ReportBook>> readReportBooks(const ReportQuery& query, QString* error)
{
    std::vector<ReportBook> books;
    const bool withCategories = !query.categoriesPath.isEmpty();
    const bool oneFile = withCategories && query.categoriesPath == query.booksPath;
    if (!readFile(query.booksPath, query, true, oneFile, &books, error))
        return std::nullopt;
    if (withCategories && !oneFile && !readFile(query.categoriesPath, query, false, true, &books, error))
        return std::nullopt;
    return books;
}

QString filedAuthorName(const ReportBook& book)
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
