#include "treelistings.h"

#include "nameforms.h"
#include "rowreader.h"
#include "sortorder.h"
#include "statement.h"
#include "statements.h"
#include "textfold.h"

#include <QHash>

namespace shelvio {

namespace {

// Every book's number and sort title, by number, with the sort title's key.
struct BookColumns {
    BookListing listing;
    std::vector<bool> titleIsNull;

    // Makes room for the books at once: a million of them would otherwise
    // be copied as the columns grow. Room not used costs no memory.
    explicit BookColumns(const QSqlDatabase& db)
    {
        RowReader highest(db, sql::highestBookId);
        const qint64 books =
            highest.next().value_or(false) ? std::clamp<qint64>(highest.integer(0), 0, 1 << 24) : 0;
        listing.ids.reserve(size_t(books));
        listing.sortTitles.reserve(books, books * 64);
        titleIsNull.reserve(size_t(books));
    }

    void add(const RowReader& row)
    {
        listing.ids.push_back(row.integer(0));
        listing.sortTitles.append(row.text(1));
        titleIsNull.push_back(row.isNull(1));
    }
};

// Ranks the stored forms of the authors' names as ORDER BY sortkey(last),
// sortkey(first), last, first does with the names trimmed; forms that are
// the same without blanks at the ends share a rank. Returns the number of
// ranks.
qint32 rankAuthorForms(const TextPairs& forms, std::vector<qint32>* rankOfForm)
{
    std::vector<std::string> lastKeys(static_cast<size_t>(forms.count()));
    std::vector<std::string> firstKeys(static_cast<size_t>(forms.count()));
    for (qint32 form = 0; form < forms.count(); ++form) {
        appendSortKeyUtf8(forms.firsts().bytesAt(form), &lastKeys[size_t(form)]);
        appendSortKeyUtf8(forms.seconds().bytesAt(form), &firstKeys[size_t(form)]);
    }
    const auto compare = [&](qint32 a, qint32 b) {
        if (const int c = lastKeys[size_t(a)].compare(lastKeys[size_t(b)]))
            return c;
        if (const int c = firstKeys[size_t(a)].compare(firstKeys[size_t(b)]))
            return c;
        if (const int c =
                trimmedBlanks(forms.firsts().bytesAt(a)).compare(trimmedBlanks(forms.firsts().bytesAt(b))))
            return c;
        return trimmedBlanks(forms.seconds().bytesAt(a)).compare(trimmedBlanks(forms.seconds().bytesAt(b)));
    };
    return forms.rank(compare, rankOfForm);
}

// Finds a book's place by its number among the books read.
class BookPlaces {
public:
    explicit BookPlaces(const std::vector<qint64>& ids)
        : m_ids(ids)
    {
        // Numbers close together: a table straight from number to place.
        if (!ids.empty() && ids.back() - ids.front() < qint64(ids.size()) * 4 + 1024) {
            m_first = ids.front();
            m_table.assign(size_t(ids.back() - ids.front() + 1), -1);
            for (qint32 i = 0; i < qint32(ids.size()); ++i)
                m_table[size_t(ids[size_t(i)] - m_first)] = i;
        }
    }
    qint32 placeOf(qint64 id) const
    {
        if (!m_table.empty())
            return id < m_first || id - m_first >= qint64(m_table.size()) ? -1
                                                                          : m_table[size_t(id - m_first)];
        const auto found = std::lower_bound(m_ids.begin(), m_ids.end(), id);
        return found == m_ids.end() || *found != id ? -1 : qint32(found - m_ids.begin());
    }

private:
    const std::vector<qint64>& m_ids;
    qint64 m_first = 0;
    std::vector<qint32> m_table;
};

} // namespace

Result<BookListing> readBooksByTitle(const QSqlDatabase& db)
{
    BookColumns books(db);
    if (Status read = readEveryRow(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); });
        !read)
        return read.error();
    books.listing.rows = orderByKey(books.listing.sortTitles, books.titleIsNull);
    return std::move(books.listing);
}

Result<BookListing> readBooksByAuthor(const QSqlDatabase& db)
{
    BookColumns books(db);
    TextPairs forms; // the stored forms of the names (Null read as empty)
    std::vector<qint32> formOfBook;
    const Status read = readEveryRow(db, sql::booksWithAuthorsByNumber, [&](const RowReader& row) {
        books.add(row);
        formOfBook.push_back(forms.numberOf(row.text(2), row.text(3)));
    });
    if (!read)
        return read.error();
    std::vector<qint32> rankOfForm;
    const qint32 ranks = rankAuthorForms(forms, &rankOfForm);
    std::vector<qint32> rankOfBook(formOfBook.size());
    for (size_t i = 0; i < formOfBook.size(); ++i)
        rankOfBook[i] = rankOfForm[size_t(formOfBook[i])];
    BookListing& listing = books.listing;
    listing.rows = byBucket(orderByKey(books.listing.sortTitles, books.titleIsNull), rankOfBook, ranks);
    for (qint32 row = 0; row < qint32(listing.rows.size()); ++row) {
        const qint32 form = formOfBook[size_t(listing.rows[size_t(row)])];
        if (row > 0 && form == formOfBook[size_t(listing.rows[size_t(row - 1)])])
            continue;
        listing.runs.push_back({row, forms.firsts().at(form), forms.seconds().at(form)});
    }
    return std::move(listing);
}

Result<BookListing> readBooksByCategory(const QSqlDatabase& db)
{
    // The books, the categories and the links as one state of the file.
    WriteTransaction readLock(db);
    if (!readLock.begun())
        return readLock.begun().error();
    BookColumns books(db);
    if (Status read = readEveryRow(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); });
        !read)
        return read.error();

    QHash<qint64, qint32> categoryPlace;
    std::vector<qint64> categoryIds;
    TextColumn categoryNames;
    std::vector<bool> categoryIsNull;
    Status read = readEveryRow(db, sql::categoriesWithNames, [&](const RowReader& row) {
        categoryPlace.insert(row.integer(0), qint32(categoryIds.size()));
        categoryIds.push_back(row.integer(0));
        categoryNames.append(row.text(1));
        categoryIsNull.push_back(row.isNull(1));
    });
    if (!read)
        return read.error();
    // Categories by name, then by number (the order they were read in).
    const std::vector<qint32> categoryOrder = orderByKey(categoryNames, categoryIsNull);
    std::vector<qint32> rankOfCategory(categoryIds.size());
    for (qint32 rank = 0; rank < qint32(categoryOrder.size()); ++rank)
        rankOfCategory[size_t(categoryOrder[size_t(rank)])] = rank;

    // Links to a book and a category on file, as (book, category rank).
    const BookPlaces places(books.listing.ids);
    std::vector<qint32> linkBook, linkRank;
    read = readEveryRow(db, sql::allLinks, [&](const RowReader& row) {
        const qint32 book = places.placeOf(row.integer(0));
        const auto category = categoryPlace.constFind(row.integer(1));
        if (book < 0 || category == categoryPlace.constEnd())
            return;
        linkBook.push_back(book);
        linkRank.push_back(rankOfCategory[size_t(*category)]);
    });
    if (!read)
        return read.error();
    if (Status done = readLock.commit(); !done)
        return done.error();

    // The links in the title order of their books, then by category.
    std::vector<qint32> linksOfBook(books.listing.ids.size() + 1, 0);
    for (qint32 book : linkBook)
        ++linksOfBook[size_t(book) + 1];
    for (size_t i = 1; i < linksOfBook.size(); ++i)
        linksOfBook[i] += linksOfBook[i - 1];
    std::vector<qint32> linksByBook(linkBook.size());
    std::vector<qint32> next(linksOfBook.begin(), linksOfBook.end() - 1);
    for (qint32 link = 0; link < qint32(linkBook.size()); ++link)
        linksByBook[size_t(next[size_t(linkBook[size_t(link)])]++)] = link;
    std::vector<qint32> links;
    links.reserve(linkBook.size());
    for (qint32 book : orderByKey(books.listing.sortTitles, books.titleIsNull)) {
        for (qint32 i = linksOfBook[size_t(book)]; i < linksOfBook[size_t(book) + 1]; ++i)
            links.push_back(linksByBook[size_t(i)]);
    }
    links = byBucket(links, linkRank, qint32(categoryIds.size()));

    BookListing& listing = books.listing;
    listing.rows.reserve(links.size());
    for (qint32 row = 0; row < qint32(links.size()); ++row) {
        const qint32 link = links[size_t(row)];
        listing.rows.push_back(linkBook[size_t(link)]);
        if (row == 0 || linkRank[size_t(link)] != linkRank[size_t(links[size_t(row - 1)])])
            listing.runs.push_back(
                {row, categoryNames.at(categoryOrder[size_t(linkRank[size_t(link)])]), {}});
    }
    return std::move(listing);
}

} // namespace shelvio
