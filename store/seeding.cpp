#include "seeding.h"

#include "bookrows.h"
#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "schema.h"
#include "statement.h"
#include "statements.h"

using namespace Qt::StringLiterals;

namespace shelvio {

struct CatalogueSeeder::Work {
    QSqlDatabase db;
    std::unique_ptr<WriteTransaction> transaction;
    std::unique_ptr<Statement> insertBook, insertLink, insertCategory;

    ~Work()
    {
        insertBook.reset();
        insertLink.reset();
        insertCategory.reset();
        transaction.reset(); // rolls back what was not committed
        closeConnection(db);
    }
};

CatalogueSeeder::CatalogueSeeder(const QString& path)
{
    const bool missing = detectFileKind(path) == FileKind::Missing;
    Result<QSqlDatabase> db = openConnection(path, Access::ReadWrite);
    if (!db) {
        m_status = db.error();
        return;
    }
    m_work = std::make_unique<Work>();
    m_work->db = db.take();
    m_status = missing ? schema::create(m_work->db) : schema::verify(m_work->db);
    if (!m_status)
        return;
    m_work->transaction = std::make_unique<WriteTransaction>(m_work->db);
    m_status = m_work->transaction->begun();
    m_work->insertBook = std::make_unique<Statement>(m_work->db, SqlText(sql::insertBookWithId));
    m_work->insertLink = std::make_unique<Statement>(m_work->db, SqlText(sql::insertLink));
    m_work->insertCategory = std::make_unique<Statement>(m_work->db, SqlText(sql::insertCategory));
}

CatalogueSeeder::~CatalogueSeeder() = default;

Result<qint64> CatalogueSeeder::addCategory(const QString& name)
{
    if (!m_status)
        return m_status.error();
    if (m_status = m_work->insertCategory->run({name}); !m_status)
        return m_status.error();
    return m_work->insertCategory->insertedId();
}

Result<qint64> CatalogueSeeder::addBook(const Book& book, const QList<qint64>& categoryIds)
{
    if (!m_status)
        return m_status.error();
    Book stored = book;
    if (stored.sortTitle.isEmpty())
        stored.sortTitle = sortTitle(book.title);
    QVariantList values = storedBookValues(stored);
    values << (book.id ? QVariant(*book.id) : QVariant(QMetaType(QMetaType::LongLong)));
    if (m_status = m_work->insertBook->run(values); !m_status)
        return m_status.error();
    const qint64 id = m_work->insertBook->insertedId();
    for (qint64 category : categoryIds) {
        if (m_status = m_work->insertLink->run({id, category}); !m_status)
            return m_status.error();
    }
    return id;
}

Status CatalogueSeeder::commit()
{
    if (!m_status)
        return m_status;
    m_work->insertBook.reset();
    m_work->insertLink.reset();
    m_work->insertCategory.reset();
    m_status = m_work->transaction->commit();
    return m_status;
}

} // namespace shelvio
