// The catalogue's side of bringing books in from a file and taking them out
// to one: whole books read in one go, and a whole import in one transaction.
#include "catalogue.h"

#include "bookrows.h"
#include "nameforms.h"
#include "statement.h"
#include "statements.h"
#include "textfold.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

namespace sqlx = sql::exchange;

struct CategoryName {
    QString name;
    qsizetype place = 0; // in the order of the category lists
};

Result<QHash<qint64, CategoryName>> readCategories(const QSqlDatabase& db)
{
    QHash<qint64, CategoryName> byId;
    Statement rows(db, sqlx::categories);
    const Status read = rows.forEachRow(
        {}, [&](const Statement& row) { byId.insert(row.value(0).toLongLong(), {row.value(1).toString()}); });
    if (!read)
        return read.error();
    QList<qint64> ids = byId.keys();
    std::sort(ids.begin(), ids.end(), [&](qint64 a, qint64 b) {
        const QString& first = byId[a].name;
        const QString& second = byId[b].name;
        return first == second ? a < b : lessForDisplay(first, second);
    });
    for (qsizetype i = 0; i < ids.size(); ++i)
        byId[ids[i]].place = i;
    return byId;
}

// Walks the links, ordered by book, beside the books, ordered by number.
class LinkCursor {
public:
    LinkCursor(const QSqlDatabase& db, const QHash<qint64, CategoryName>& categories)
        : m_links(db, sqlx::linksByBook)
        , m_categories(categories)
    {
        m_status = m_links.run();
        step();
    }

    const Status& status() const { return m_status; }

    QStringList categoriesOf(qint64 bookId)
    {
        QList<const CategoryName*> found;
        while (m_onRow && m_links.value(0).toLongLong() <= bookId) {
            if (m_links.value(0).toLongLong() == bookId) {
                const auto category = m_categories.constFind(m_links.value(1).toLongLong());
                if (category != m_categories.constEnd())
                    found << &*category;
            }
            step();
        }
        std::sort(found.begin(), found.end(),
                  [](const CategoryName* a, const CategoryName* b) { return a->place < b->place; });
        QStringList names;
        for (const CategoryName* category : found)
            names << category->name;
        return names;
    }

private:
    void step()
    {
        m_onRow = false;
        if (!m_status)
            return;
        const Result<bool> row = m_links.next();
        if (!row)
            m_status = row.error();
        else
            m_onRow = *row;
    }

    Statement m_links;
    const QHash<qint64, CategoryName>& m_categories;
    Status m_status;
    bool m_onRow = false;
};

// The categories of a catalogue by folded name, for an import: a name on
// file in another letter case is the same category; of names equal but
// for case the oldest serves.
class CategoryFinder {
public:
    explicit CategoryFinder(const QSqlDatabase& db)
        : m_insert(db, sql::insertCategory)
    {
        Statement rows(db, sqlx::categories);
        m_status = rows.forEachRow({}, [&](const Statement& row) {
            m_byFold.insert(caseFold(row.value(1).toString()), row.value(0).toLongLong());
        });
    }

    const Status& status() const { return m_status; }
    qint64 created() const { return m_created; }

    Result<qint64> idOf(const QString& name)
    {
        const QString fold = caseFold(name);
        if (const auto found = m_byFold.constFind(fold); found != m_byFold.constEnd())
            return *found;
        if (name.size() > categoryNameWidth)
            return Error::failed(
                u"The category name \"%1\" is longer than %2 characters."_s.arg(name).arg(categoryNameWidth));
        if (Status added = m_insert.run({name}); !added)
            return added.error();
        const qint64 id = m_insert.insertedId();
        m_byFold.insert(fold, id);
        ++m_created;
        return id;
    }

private:
    Statement m_insert;
    QHash<QString, qint64> m_byFold;
    Status m_status;
    qint64 m_created = 0;
};

} // namespace

Status Catalogue::forEachBook(const std::function<void(const Book&)>& visit)
{
    if (!isOpen())
        return Error::failed(u"The catalogue is not open."_s);
    WriteTransaction readOnly(db()); // only reads: its end lets go of the lock
    if (!readOnly.begun())
        return readOnly.begun();
    const Result<QHash<qint64, CategoryName>> categories = readCategories(db());
    if (!categories)
        return categories.error();
    LinkCursor links(db(), *categories);
    Statement books(db(), sqlx::booksByNumber);
    const Status read = books.forEachRow({}, [&](const Statement& row) {
        Book book = bookFromRow(row);
        book.categories = links.categoriesOf(*book.id);
        if (links.status())
            visit(book);
    });
    return read ? links.status() : read;
}

Status Catalogue::forEachTitleAndAuthor(
    const std::function<void(const QString&, const QString&, const QString&)>& row)
{
    Statement query(db(), sqlx::titlesAndAuthors);
    return query.forEachRow({}, [&](const Statement& r) {
        row(r.value(0).toString(), r.value(1).toString(), r.value(2).toString());
    });
}

Result<ImportOutcome> Catalogue::importBooks(const std::vector<Book>& books, const ImportProgress& progress)
{
    if (Status can = writable(); !can)
        return can.error();
    WriteTransaction transaction(db());
    if (!transaction.begun())
        return transaction.begun().error();
    CategoryFinder categories(db());
    if (!categories.status())
        return categories.status().error();
    Statement insertBook(db(), sql::insertBook);
    Statement insertLink(db(), sql::insertLink);
    ImportOutcome outcome;
    for (const Book& book : books) {
        Book stored = book;
        stored.sortTitle = sortTitle(book.title);
        if (Status added = insertBook.run(storedBookValues(stored)); !added)
            return added.error();
        const qint64 bookId = insertBook.insertedId();
        for (const QString& name : book.categories) {
            if (trimBlanks(name).isEmpty())
                continue; // the editor never makes a category without a name
            const Result<qint64> categoryId = categories.idOf(name);
            if (!categoryId)
                return categoryId.error();
            if (Status linked = insertLink.run({bookId, *categoryId}); !linked)
                return linked.error();
        }
        ++outcome.booksAdded;
        if (progress && !progress(outcome.booksAdded))
            return ImportOutcome{0, 0, true}; // the transaction rolls back
    }
    outcome.categoriesCreated = categories.created();
    if (Status committed = transaction.commit(); !committed)
        return committed.error();
    countChanged(outcome.booksAdded);
    return outcome;
}

} // namespace shelvio
