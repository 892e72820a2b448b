#include "reportdata.h"

#include "bookrows.h"
#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "numbers.h"
#include "reportreading.h"
#include "rowreader.h"
#include "schema.h"
#include "sortorder.h"
#include "statement.h"
#include "statements.h"
#include "textfold.h"

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

// Orders places of rows that stand in title order by a key of each, keeping
// the title order among equal keys.
template <class Key, class Less>
void sortKeepingTitleOrder(std::vector<qint32>* order, Key keyOfRow, Less less)
{
    std::vector<decltype(keyOfRow(0))> keys;
    keys.reserve(order->size());
    for (qint32 row : *order)
        keys.push_back(keyOfRow(row));
    std::vector<qint32> byKey(order->size());
    for (size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = qint32(i);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](qint32 a, qint32 b) { return less(keys[size_t(a)], keys[size_t(b)]); });
    for (qint32& i : byKey)
        i = (*order)[size_t(i)];
    order->swap(byKey);
}

// The read date, oldest first; the rating, best first with unrated books and
// values off the scale last. Any other order stands as it came.
template <class DateRead, class Rating>
void sortByDateOrRating(BookOrder order, std::vector<qint32>* rows, DateRead dateRead, Rating rating)
{
    if (order == BookOrder::ByReadDate) {
        sortKeepingTitleOrder(
            rows, [&](qint32 row) { return parseReadDate(dateRead(row)); }, readDateBefore);
    } else if (order == BookOrder::ByRating) {
        sortKeepingTitleOrder(
            rows,
            [&](qint32 row) {
                const std::optional<qint64> value = rating(row);
                return ratingOnScale(value) ? *value : 0;
            },
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

// Runs `read` inside one read transaction, so that the books and their
// categories come from the same state of the file. Every error names the
// file.
template <class Read> Status readCatalogue(const QSqlDatabase& db, const QString& path, Read read)
{
    // A file SQLite cannot read, or one locked for longer than the wait,
    // fails here; asking for its tables would only find none.
    if (Status readable = Statement(db, sql::countSchemaEntries).run(); !readable)
        return cannotRead(path, readable.error());
    if (Status tables = schema::verify(db); !tables)
        return Error::failed(u"The file %1 is not a catalogue. %2"_s.arg(QDir::toNativeSeparators(path),
                                                                         tables.error().text()));
    WriteTransaction readOnly(db); // only reads: its end lets go of the lock
    Status done = readOnly.begun();
    if (done)
        done = read(db);
    if (!done)
        return cannotRead(path, done.error());
    return {};
}

// Opens the catalogue read-only and reads it with `read`.
template <class Read> Status readInOneState(const QString& path, Read read)
{
    if (path.isEmpty())
        return Error::failed(u"The report has not been pointed at a catalogue file."_s);
    if (Status usable = checkFile(path); !usable)
        return usable;
    QSqlDatabase db;
    if (Result<QSqlDatabase> opened = openConnection(path, Access::ReadOnly); opened)
        db = *opened;
    else
        return cannotRead(path, opened.error());
    const Status done = readCatalogue(db, path, read);
    closeConnection(db);
    return done;
}

// The reference: SQLite orders the books and their categories.
Status readBooksInSqlOrder(const QSqlDatabase& db, const ReportQuery& query, std::vector<Book>* books)
{
    Statement rows(db, {selectBooks, selectionClause(query.selection),
                        query.order == BookOrder::ByAuthor ? SqlText(orderByAuthor) : SqlText(orderByTitle)});
    Status read = rows.forEachRow({}, [&](const Statement& row) { books->push_back(bookFromRow(row)); });
    if (!read)
        return read;
    std::vector<qint32> order(books->size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = qint32(i);
    sortByDateOrRating(
        query.order, &order, [&](qint32 row) { return (*books)[size_t(row)].dateRead; },
        [&](qint32 row) { return (*books)[size_t(row)].rating; });
    std::vector<Book> sorted;
    sorted.reserve(books->size());
    for (qint32 row : order)
        sorted.push_back(std::move((*books)[size_t(row)]));
    books->swap(sorted);
    if (!query.withCategories)
        return {};
    QHash<qint64, size_t> byId;
    byId.reserve(qsizetype(books->size()));
    for (size_t i = 0; i < books->size(); ++i)
        byId.insert(*(*books)[i].id, i);
    Statement categories(db, categoriesOfBooks);
    return categories.forEachRow({}, [&](const Statement& row) {
        const auto found = byId.constFind(row.value(0).toLongLong());
        if (found != byId.constEnd())
            (*books)[*found].categories << row.value(1).toString();
    });
}

// A number column as the catalogue reads it (numbers.h); values that are
// not plain numbers are read the way Qt's SQLite driver hands them over.
QVariant driverValue(const RowReader& row, int column)
{
    switch (row.kind(column)) {
    case RowReader::Kind::Integer:
        return row.integer(column);
    case RowReader::Kind::Real:
        return row.real(column);
    case RowReader::Kind::Text: {
        const std::string_view text = row.text(column);
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    case RowReader::Kind::Blob: {
        const std::string_view bytes = row.text(column);
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
    case RowReader::Kind::Null:
        break;
    }
    return {};
}

qint64 numberOrNull(const RowReader& row, int column)
{
    if (row.kind(column) == RowReader::Kind::Integer)
        return row.integer(column);
    return storedNumber(driverValue(row, column)).value_or(ReportRows::nullNumber);
}

qint64 costOrNull(const RowReader& row, int column)
{
    if (row.kind(column) == RowReader::Kind::Real)
        return costUnitsFromAmount(row.real(column));
    return storedCostUnits(driverValue(row, column)).value_or(ReportRows::nullNumber);
}

bool flagOf(const RowReader& row, int column)
{
    if (row.kind(column) == RowReader::Kind::Integer)
        return row.integer(column) != 0;
    return storedFlag(driverValue(row, column));
}

// Adds a row of selectBookColumns to the columns: the names without blanks
// at the ends, the title where the sort title is Null or empty, as
// selectBooks gives them.
void addRow(const RowReader& row, ReportRows::Columns* c)
{
    c->ids.push_back(row.integer(0));
    const std::string_view title = row.text(1);
    const std::string_view sortTitle = row.text(2);
    c->titles.append(title);
    c->sortTitles.append(sortTitle.empty() ? title : sortTitle);
    c->lastNames.append(trimmedBlanks(row.text(3)));
    c->firstNames.append(trimmedBlanks(row.text(4)));
    c->years.push_back(numberOrNull(row, 5));
    c->pages.push_back(numberOrNull(row, 6));
    c->costUnits.push_back(costOrNull(row, 7));
    c->datesRead.append(row.text(8));
    c->comments.append(row.text(9));
    c->ratings.push_back(numberOrNull(row, 10));
    c->flags.push_back(quint8(
        (flagOf(row, 11) ? ReportRows::WantToBuy : 0) | (flagOf(row, 12) ? ReportRows::OwnBook : 0) |
        (flagOf(row, 13) ? ReportRows::ReadBook : 0) | (flagOf(row, 14) ? ReportRows::WantToRead : 0)));
}

// The author order over rows that stand in title order: by the name each
// book is filed under, then the first name of those filed under their last
// name, books without a name last; names equal but for case kept apart by
// the exact text.
std::vector<qint32> byAuthor(const ReportRows::Columns& c, const std::vector<qint32>& byTitle)
{
    TextPairs names;
    std::vector<qint32> nameOfRow(size_t(c.rowCount()));
    for (qint32 row = 0; row < qint32(c.rowCount()); ++row)
        nameOfRow[size_t(row)] = names.numberOf(c.lastNames.bytesAt(row), c.firstNames.bytesAt(row));
    struct Keys {
        bool unnamed;
        std::string filed;
        std::string first;
    };
    std::vector<Keys> keys(size_t(names.count()));
    for (qint32 name = 0; name < names.count(); ++name) {
        const std::string_view last = names.firsts().bytesAt(name);
        const std::string_view first = names.seconds().bytesAt(name);
        Keys& key = keys[size_t(name)];
        key.unnamed = last.empty() && first.empty();
        appendSortKeyUtf8(last.empty() ? first : last, &key.filed);
        appendSortKeyUtf8(last.empty() ? std::string_view() : first, &key.first);
    }
    const auto compare = [&](qint32 a, qint32 b) {
        const Keys& ka = keys[size_t(a)];
        const Keys& kb = keys[size_t(b)];
        if (ka.unnamed != kb.unnamed)
            return ka.unnamed ? 1 : -1;
        if (const int c = ka.filed.compare(kb.filed))
            return c;
        if (const int c = ka.first.compare(kb.first))
            return c;
        if (const int c = names.firsts().bytesAt(a).compare(names.firsts().bytesAt(b)))
            return c;
        return names.seconds().bytesAt(a).compare(names.seconds().bytesAt(b));
    };
    std::vector<qint32> rankOfName;
    const qint32 ranks = names.rank(compare, &rankOfName);
    std::vector<qint32> rankOfRow(nameOfRow.size());
    for (size_t row = 0; row < nameOfRow.size(); ++row)
        rankOfRow[row] = rankOfName[size_t(nameOfRow[row])];
    return byBucket(byTitle, rankOfRow, ranks);
}

std::vector<qint32> reportOrder(const ReportRows::Columns& c, BookOrder order)
{
    std::vector<qint32> rows = orderByKey(c.sortTitles, std::vector<bool>(size_t(c.rowCount()), false));
    if (order == BookOrder::ByAuthor)
        return byAuthor(c, rows);
    sortByDateOrRating(
        order, &rows, [&](qint32 row) { return c.datesRead.at(row); },
        [&](qint32 row) {
            const qint64 rating = c.ratings[size_t(row)];
            return rating == ReportRows::nullNumber ? std::nullopt : std::optional<qint64>(rating);
        });
    return rows;
}

// Each book's categories, by name (case and accents set aside), then by the
// category's number; links to a category or a book not on file are left out.
Status readCategories(const QSqlDatabase& db, ReportRows::Columns* c)
{
    QHash<qint64, qint32> placeOfCategory;
    std::vector<bool> nameIsNull;
    Status read = readEveryRow(db, sql::categoriesWithNames, [&](const RowReader& row) {
        placeOfCategory.insert(row.integer(0), qint32(c->categoryNames.size()));
        c->categoryNames.append(row.text(1));
        nameIsNull.push_back(row.isNull(1));
    });
    if (!read)
        return read;
    std::vector<qint32> rankOfCategory(nameIsNull.size());
    const std::vector<qint32> byName = orderByKey(c->categoryNames, nameIsNull);
    for (qint32 rank = 0; rank < qint32(byName.size()); ++rank)
        rankOfCategory[size_t(byName[size_t(rank)])] = rank;

    std::vector<qint32> linkRow, linkCategory;
    read = readEveryRow(db, sql::allLinks, [&](const RowReader& row) {
        const auto book = std::lower_bound(c->ids.begin(), c->ids.end(), row.integer(0));
        const auto category = placeOfCategory.constFind(row.integer(1));
        if (book == c->ids.end() || *book != row.integer(0) || category == placeOfCategory.constEnd())
            return;
        linkRow.push_back(qint32(book - c->ids.begin()));
        linkCategory.push_back(*category);
    });
    if (!read)
        return read;
    // The links by category rank, then by book: each book's own in order.
    std::vector<qint32> links(linkRow.size());
    std::vector<qint32> rankOfLink(linkRow.size());
    for (size_t link = 0; link < links.size(); ++link) {
        links[link] = qint32(link);
        rankOfLink[link] = rankOfCategory[size_t(linkCategory[link])];
    }
    links =
        byBucket(byBucket(links, rankOfLink, qint32(rankOfCategory.size())), linkRow, qint32(c->rowCount()));
    c->categoryStarts.assign(size_t(c->rowCount()) + 1, 0);
    for (qint32 row : linkRow)
        ++c->categoryStarts[size_t(row) + 1];
    for (size_t row = 1; row < c->categoryStarts.size(); ++row)
        c->categoryStarts[row] += c->categoryStarts[row - 1];
    c->categoriesOfBooks.reserve(links.size());
    for (qint32 link : links)
        c->categoriesOfBooks.push_back(linkCategory[size_t(link)]);
    return {};
}

// Makes room for every book on file at once, so that a million rows are not
// copied again and again as the columns grow; room not used costs no memory.
void makeRoom(const QSqlDatabase& db, ReportRows::Columns* c)
{
    RowReader highest(db, sql::highestBookId);
    const auto books =
        size_t(highest.next().value_or(false) ? std::clamp<qint64>(highest.integer(0), 0, 1 << 24) : 0);
    const auto n = qsizetype(books);
    for (std::vector<qint64>* numbers : {&c->ids, &c->years, &c->pages, &c->costUnits, &c->ratings})
        numbers->reserve(books);
    c->flags.reserve(books);
    c->titles.reserve(n, n * 40);
    c->sortTitles.reserve(n, n * 40);
    c->lastNames.reserve(n, n * 16);
    c->firstNames.reserve(n, n * 16);
    c->datesRead.reserve(n, n * 12);
    c->comments.reserve(n, n * 16);
}

Status readRows(const QSqlDatabase& db, const ReportQuery& query, ReportRows* rows)
{
    ReportRows::Columns& c = rows->columns();
    makeRoom(db, &c);
    if (Status read = readEveryRow(db, {selectBookColumns, selectionClause(query.selection), orderByNumber},
                                   [&](const RowReader& row) { addRow(row, &c); });
        !read)
        return read;
    rows->setOrder(reportOrder(c, query.order));
    return query.withCategories ? readCategories(db, &c) : Status();
}

} // namespace

Result<ReportRows> readReportRows(const ReportQuery& query)
{
    ReportRows rows;
    if (Status read = readInOneState(query.cataloguePath,
                                     [&](const QSqlDatabase& db) { return readRows(db, query, &rows); });
        !read)
        return read.error();
    return rows;
}

Result<std::vector<Book>> readReportBooksInSqlOrder(const ReportQuery& query)
{
    std::vector<Book> books;
    if (Status read =
            readInOneState(query.cataloguePath,
                           [&](const QSqlDatabase& db) { return readBooksInSqlOrder(db, query, &books); });
        !read)
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
