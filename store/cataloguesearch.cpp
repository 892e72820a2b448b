#include "cataloguesearch.h"

#include "bookrows.h"
#include "catalogue.h"
#include "searchindex.h"
#include "statement.h"
#include "statements.h"

#include <QHash>
#include <QSqlDatabase>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// The phrase in the index's query language: quoted, so that nothing typed
// is read as an operator, with a trailing * where the last word may go on.
QString matchExpression(const SearchPhrase& phrase)
{
    QString typed = phrase.typed;
    return u'"' + typed.replace(u'"', u"\"\""_s) + u'"' + (phrase.lastWordIsPrefix ? u"*"_s : QString());
}

// Numbers as one value for json_each(): "[4,17,9]".
QString jsonArray(const QList<qint64>& numbers)
{
    QStringList texts;
    texts.reserve(numbers.size());
    for (qint64 number : numbers)
        texts << QString::number(number);
    return u'[' + texts.join(u',') + u']';
}

QList<qint64> sortedUnique(QList<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

QList<qint64> united(const QList<qint64>& a, const QList<qint64>& b)
{
    QList<qint64> both;
    both.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
    return both;
}

QList<qint64> common(const QList<qint64>& a, const QList<qint64>& b)
{
    QList<qint64> both;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
    return both;
}

} // namespace

CatalogueSearch::CatalogueSearch(Catalogue& catalogue)
    : m_catalogue(catalogue)
{
}

Status CatalogueSearch::keepIndexCurrent()
{
    const QSqlDatabase& db = m_catalogue.db();
    const Result<qint64> version = searchindex::dataVersion(db);
    if (!version)
        return version.error();
    if (m_checkedVersion == *version)
        return {};
    const Result<bool> current = searchindex::isCurrent(db);
    if (!current)
        return current.error();
    Status ready;
    if (!m_catalogue.isReadOnly())
        ready = *current ? Status() : searchindex::rebuild(db);
    else
        ready = *current ? searchindex::dropSnapshot(db) : searchindex::buildSnapshot(db);
    if (ready)
        m_checkedVersion = *version;
    return ready;
}

Result<QList<qint64>> CatalogueSearch::booksMatching(const QString& expression)
{
    Statement query(m_catalogue.db(), sql::search::booksMatching);
    return query.firstColumn<qint64>({expression});
}

Result<QList<qint64>> CatalogueSearch::booksInCategories(const QList<qint64>& categoryIds)
{
    Statement query(m_catalogue.db(), sql::search::booksInCategories);
    Result<QList<qint64>> ids = query.firstColumn<qint64>({jsonArray(categoryIds)});
    if (!ids)
        return ids;
    return sortedUnique(ids.take());
}

// For each phrase, the categories whose names hold it.
Result<QList<QList<qint64>>> CatalogueSearch::categoriesHolding(const SearchTerms& terms)
{
    QList<QList<qint64>> holding(terms.phrases.size());
    Statement query(m_catalogue.db(), sql::search::categories);
    const Status read = query.forEachRow({}, [&](const Statement& row) {
        const QString name = row.value(1).toString();
        for (qsizetype i = 0; i < terms.phrases.size(); ++i) {
            if (phraseOccursIn(terms.phrases[i], name))
                holding[i] << row.value(0).toLongLong();
        }
    });
    if (!read)
        return read.error();
    return holding;
}

Result<QList<qint64>> CatalogueSearch::findBooks(const SearchTerms& terms)
{
    if (terms.isEmpty())
        return QList<qint64>();
    if (Status current = keepIndexCurrent(); !current)
        return current.error();
    const Result<QList<QList<qint64>>> categories = categoriesHolding(terms);
    if (!categories)
        return categories.error();
    // Phrases that no category name holds are looked up together: the index
    // itself finds the books that hold them all.
    QStringList textOnly;
    std::optional<QList<qint64>> found;
    for (qsizetype i = 0; i < terms.phrases.size(); ++i) {
        const QString expression = matchExpression(terms.phrases[i]);
        if (categories->at(i).isEmpty()) {
            textOnly << expression;
            continue;
        }
        const Result<QList<qint64>> inText = booksMatching(expression);
        const Result<QList<qint64>> inCategories = booksInCategories(categories->at(i));
        if (!inText || !inCategories)
            return inText ? inCategories.error() : inText.error();
        const QList<qint64> either = united(*inText, *inCategories);
        found = found ? common(*found, either) : either;
    }
    if (!textOnly.isEmpty()) {
        const Result<QList<qint64>> inText = booksMatching(textOnly.join(u" AND "_s));
        if (!inText)
            return inText.error();
        found = found ? common(*found, *inText) : *inText;
    }
    return *found;
}

Result<QList<Book>> CatalogueSearch::books(const QList<qint64>& ids)
{
    const QString page = jsonArray(ids);
    QHash<qint64, Book> byId;
    byId.reserve(ids.size());
    Statement bookQuery(m_catalogue.db(), sql::search::booksByIds);
    Status read = bookQuery.forEachRow({page}, [&](const Statement& row) {
        Book book = bookFromRow(row);
        byId.insert(*book.id, std::move(book));
    });
    Statement categoryQuery(m_catalogue.db(), sql::search::categoriesOfBooks);
    if (read) {
        read = categoryQuery.forEachRow({page}, [&](const Statement& row) {
            if (const auto book = byId.find(row.value(0).toLongLong()); book != byId.end())
                book->categories << row.value(1).toString();
        });
    }
    if (!read)
        return read.error();
    QList<Book> found;
    found.reserve(byId.size());
    for (qint64 id : ids) {
        if (const auto book = byId.find(id); book != byId.end())
            found << std::move(*book);
    }
    return found;
}

} // namespace shelvio
