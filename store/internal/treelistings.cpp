#include "treelistings.h"

#include "nameforms.h"
#include "rowreader.h"
#include "sortorder.h"
#include "statement.h"
#include "statements.h"
#include "textfold.h"

#include <QHash>

#include <unordered_map>

namespace shelvio {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

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
    KeyColumn titleKeys;

    void add(const RowReader& row)
    {
        listing.ids.push_back(row.integer(0));
        listing.sortTitles.append(row.text(1));
        if (row.isNull(1))
            titleKeys.appendNull();
        else
            titleKeys.append(row.text(1));
    }
};

// Reads every row of the statement, handing each to `add`.
template <class Add> Status readAll(const QSqlDatabase& db, const char* statement, Add add)
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

// An author as the names are stored (Null read as empty): the rows of one
// run share it. Its place in the order is shared by every stored form that
// is the same without blanks at the ends.
struct StoredAuthor {
    std::string last;
    std::string first;
    qint32 rank = 0;
};

// Gives each stored form of an author one number, in the order met.
class AuthorForms {
public:
    qint32 numberOf(std::string_view last, std::string_view first)
    {
        // The length first, so that no two pairs of names join to the same text.
        std::string both = std::to_string(last.size());
        both += ':';
        both += last;
        both += first;
        if (!m_byNames.empty() && both == m_lastNames)
            return m_lastNumber;
        const auto [found, added] = m_byNames.try_emplace(both, qint32(m_forms.size()));
        if (added)
            m_forms.push_back({std::string(last), std::string(first)});
        m_lastNames = std::move(both);
        m_lastNumber = found->second;
        return m_lastNumber;
    }
    std::vector<StoredAuthor>& forms() { return m_forms; }

private:
    std::unordered_map<std::string, qint32> m_byNames;
    std::vector<StoredAuthor> m_forms;
    std::string m_lastNames;
    qint32 m_lastNumber = 0;
};

// Ranks the stored forms as ORDER BY sortkey(last), sortkey(first), last,
// first does, with the names trimmed; forms equal when trimmed share a rank.
qint32 rankAuthors(std::vector<StoredAuthor>& forms)
{
    struct Named {
        std::string lastKey, firstKey;
        std::string_view last, first;
        qint32 form;
        auto tie() const { return std::tie(lastKey, firstKey, last, first); }
    };
    std::vector<Named> named;
    named.reserve(forms.size());
    for (qint32 i = 0; i < qint32(forms.size()); ++i) {
        Named entry{{}, {}, trimmedBlanks(forms[size_t(i)].last), trimmedBlanks(forms[size_t(i)].first), i};
        appendSortKeyUtf8(entry.last, &entry.lastKey);
        appendSortKeyUtf8(entry.first, &entry.firstKey);
        named.push_back(std::move(entry));
    }
    std::sort(named.begin(), named.end(), [](const Named& a, const Named& b) { return a.tie() < b.tie(); });
    qint32 rank = -1;
    for (size_t i = 0; i < named.size(); ++i) {
        if (i == 0 || named[i - 1].tie() != named[i].tie())
            ++rank;
        forms[size_t(named[i].form)].rank = rank;
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
    BookColumns books;
    if (Status read = readAll(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); }); !read)
        return read.error();
    books.listing.rows = orderByKey(books.titleKeys);
    return std::move(books.listing);
}

Result<BookListing> readBooksByAuthor(const QSqlDatabase& db)
{
    BookColumns books;
    AuthorForms forms;
    std::vector<qint32> formOfBook;
    const Status read = readAll(db, sql::booksWithAuthorsByNumber, [&](const RowReader& row) {
        books.add(row);
        formOfBook.push_back(forms.numberOf(row.text(2), row.text(3)));
    });
    if (!read)
        return read.error();
    const qint32 ranks = rankAuthors(forms.forms());
    std::vector<qint32> rankOfBook(formOfBook.size());
    for (size_t i = 0; i < formOfBook.size(); ++i)
        rankOfBook[i] = forms.forms()[size_t(formOfBook[i])].rank;
    BookListing& listing = books.listing;
    listing.rows = byBucket(orderByKey(books.titleKeys), rankOfBook, ranks);
    for (qint32 row = 0; row < qint32(listing.rows.size()); ++row) {
        const qint32 form = formOfBook[size_t(listing.rows[size_t(row)])];
        if (row > 0 && form == formOfBook[size_t(listing.rows[size_t(row - 1)])])
            continue;
        const StoredAuthor& names = forms.forms()[size_t(form)];
        listing.runs.push_back({row, fromUtf8(names.last), fromUtf8(names.first)});
    }
    return std::move(listing);
}

Result<BookListing> readBooksByCategory(const QSqlDatabase& db)
{
    // The books, the categories and the links as one state of the file.
    WriteTransaction readLock(db);
    if (!readLock.begun())
        return readLock.begun().error();
    BookColumns books;
    if (Status read = readAll(db, sql::booksByNumber, [&](const RowReader& row) { books.add(row); }); !read)
        return read.error();

    QHash<qint64, qint32> categoryPlace;
    std::vector<QString> categoryNames;
    KeyColumn categoryKeys;
    std::vector<qint64> categoryIds;
    Status read = readAll(db, sql::categoriesWithNames, [&](const RowReader& row) {
        categoryPlace.insert(row.integer(0), qint32(categoryIds.size()));
        categoryIds.push_back(row.integer(0));
        categoryNames.push_back(fromUtf8(row.text(1)));
        if (row.isNull(1))
            categoryKeys.appendNull();
        else
            categoryKeys.append(row.text(1));
    });
    if (!read)
        return read.error();
    // Categories by name, then by number (the order they were read in).
    const std::vector<qint32> categoryOrder = orderByKey(categoryKeys);
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
    for (qint32 book : orderByKey(books.titleKeys)) {
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
                {row, categoryNames[size_t(categoryOrder[size_t(linkRank[size_t(link)])])], {}});
    }
    return std::move(listing);
}

} // namespace shelvio
