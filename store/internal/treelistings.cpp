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

std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

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

// Reads every row of the statement, handing each to `add`.
template <class Add> Status readAll(const QSqlDatabase& db, SqlText statement, Add add)
{
    RowReader rows(db, statement);
    for (;;) {
        const Result<bool> found = rows.next();
        if (!found)
            return found.error();
        if (!*found)
            return {};
        add(rows);
    }
}

// The stored forms of the authors' names (Null read as empty), each once, in
// the order met: the rows of one run share a form. Forms that are the same
// without blanks at the ends share a place in the order, their rank.
class AuthorForms {
public:
    // The form's number, adding it when it is new.
    qint32 numberOf(std::string_view last, std::string_view first)
    {
        if (m_slots.size() < 2 * size_t(m_lastNames.size() + 1))
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = hashOf(last, first) & mask;; slot = (slot + 1) & mask) {
            const qint32 form = m_slots[slot];
            if (form < 0) {
                m_slots[slot] = add(last, first);
                return m_slots[slot];
            }
            if (m_lastNames.bytesAt(form) == last && m_firstNames.bytesAt(form) == first)
                return form;
        }
    }

    qint32 count() const { return qint32(m_lastNames.size()); }
    const TextColumn& lastNames() const { return m_lastNames; }
    const TextColumn& firstNames() const { return m_firstNames; }

    // Ranks the forms as ORDER BY sortkey(last), sortkey(first), last, first
    // does with the names trimmed; returns the number of ranks.
    qint32 rank(std::vector<qint32>* rankOfForm) const;

private:
    static size_t hashOf(std::string_view last, std::string_view first)
    {
        return qHashBits(last.data(), last.size(), qHashBits(first.data(), first.size()));
    }
    qint32 add(std::string_view last, std::string_view first)
    {
        m_lastNames.append(last);
        m_firstNames.append(first);
        return qint32(m_lastNames.size() - 1);
    }
    void grow()
    {
        m_slots.assign(std::max<size_t>(1024, m_slots.size() * 2), -1);
        const size_t mask = m_slots.size() - 1;
        for (qint32 form = 0; form < count(); ++form) {
            size_t slot = hashOf(m_lastNames.bytesAt(form), m_firstNames.bytesAt(form)) & mask;
            while (m_slots[slot] >= 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = form;
        }
    }

    TextColumn m_lastNames;
    TextColumn m_firstNames;
    std::vector<qint32> m_slots; // open addressing: form numbers, -1 for free
};

qint32 AuthorForms::rank(std::vector<qint32>* rankOfForm) const
{
    std::vector<std::string> lastKeys(static_cast<size_t>(count()));
    std::vector<std::string> firstKeys(static_cast<size_t>(count()));
    for (qint32 form = 0; form < count(); ++form) {
        appendSortKeyUtf8(m_lastNames.bytesAt(form), &lastKeys[size_t(form)]);
        appendSortKeyUtf8(m_firstNames.bytesAt(form), &firstKeys[size_t(form)]);
    }
    const auto compare = [&](qint32 a, qint32 b) {
        if (const int c = lastKeys[size_t(a)].compare(lastKeys[size_t(b)]))
            return c;
        if (const int c = firstKeys[size_t(a)].compare(firstKeys[size_t(b)]))
            return c;
        if (const int c =
                trimmedBlanks(m_lastNames.bytesAt(a)).compare(trimmedBlanks(m_lastNames.bytesAt(b))))
            return c;
        return trimmedBlanks(m_firstNames.bytesAt(a)).compare(trimmedBlanks(m_firstNames.bytesAt(b)));
    };
    std::vector<qint32> order(static_cast<size_t>(count()));
    for (qint32 form = 0; form < count(); ++form)
        order[size_t(form)] = form;
    sortOnTwoCores(order.begin(), order.end(), [&](qint32 a, qint32 b) { return compare(a, b) < 0; });
    rankOfForm->assign(size_t(count()), 0);
    qint32 rank = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || compare(order[i - 1], order[i]) != 0)
            ++rank;
        (*rankOfForm)[size_t(order[i])] = rank;
    }
    return rank + 1;
}

// Orders `items` (in the order they should keep within a bucket) by their
// bucket, in one pass: a counting sort.
std::vector<qint32> byBucket(const std::vector<qint32>& items, const std::vector<qint32>& bucketOf,
                             qint32 buckets)
{
    std::vector<qint32> starts(size_t(buckets) + 1, 0);
    for (qint32 item : items)
        ++starts[size_t(bucketOf[size_t(item)]) + 1];
    for (size_t b = 1; b < starts.size(); ++b)
        starts[b] += starts[b - 1];
    std::vector<qint32> sorted(items.size());
    for (qint32 item : items)
        sorted[size_t(starts[size_t(bucketOf[size_t(item)])]++)] = item;
    return sorted;
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
    if (Status read = readAll(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); }); !read)
        return read.error();
    books.listing.rows = orderByKey(books.listing.sortTitles, books.titleIsNull);
    return std::move(books.listing);
}

Result<BookListing> readBooksByAuthor(const QSqlDatabase& db)
{
    BookColumns books(db);
    AuthorForms forms;
    std::vector<qint32> formOfBook;
    const Status read = readAll(db, sql::booksWithAuthorsByNumber, [&](const RowReader& row) {
        books.add(row);
        formOfBook.push_back(forms.numberOf(row.text(2), row.text(3)));
    });
    if (!read)
        return read.error();
    std::vector<qint32> rankOfForm;
    const qint32 ranks = forms.rank(&rankOfForm);
    std::vector<qint32> rankOfBook(formOfBook.size());
    for (size_t i = 0; i < formOfBook.size(); ++i)
        rankOfBook[i] = rankOfForm[size_t(formOfBook[i])];
    BookListing& listing = books.listing;
    listing.rows = byBucket(orderByKey(books.listing.sortTitles, books.titleIsNull), rankOfBook, ranks);
    for (qint32 row = 0; row < qint32(listing.rows.size()); ++row) {
        const qint32 form = formOfBook[size_t(listing.rows[size_t(row)])];
        if (row > 0 && form == formOfBook[size_t(listing.rows[size_t(row - 1)])])
            continue;
        listing.runs.push_back({row, forms.lastNames().at(form), forms.firstNames().at(form)});
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
    if (Status read = readAll(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); }); !read)
        return read.error();

    QHash<qint64, qint32> categoryPlace;
    std::vector<qint64> categoryIds;
    TextColumn categoryNames;
    std::vector<bool> categoryIsNull;
    Status read = readAll(db, sql::categoriesWithNames, [&](const RowReader& row) {
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
    read = readAll(db, sql::allLinks, [&](const RowReader& row) {
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
