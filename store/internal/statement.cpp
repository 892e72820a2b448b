#include "statement.h"

#include "statements.h"

#include <QSqlError>

namespace shelvio {

Statement::Statement(const QSqlDatabase& db, const char* sql)
    : Statement(db, QString::fromLatin1(sql))
{
}

Statement::Statement(const QSqlDatabase& db, const QString& sql)
    : m_query(db)
{
    m_query.setForwardOnly(true);
    m_prepared = m_query.prepare(sql);
}

Error Statement::failure() const
{
    return Error::failed(m_query.lastError().text());
}

Status Statement::run(const QVariantList& values)
{
    if (!m_prepared)
        return failure();
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values.at(i));
    if (!m_query.exec())
        return failure();
    return {};
}

Result<bool> Statement::next()
{
    if (m_query.next())
        return true;
    if (m_query.lastError().type() != QSqlError::NoError)
        return failure();
    return false;
}

Status Statement::forEachRow(const QVariantList& values, const std::function<void(const Statement&)>& row)
{
    if (Status ran = run(values); !ran)
        return ran;
    for (;;) {
        const Result<bool> found = next();
        if (!found)
            return found.error();
        if (!*found)
            return {};
        row(*this);
    }
}

Result<QVariant> Statement::single(const QVariantList& values)
{
    if (Status ran = run(values); !ran)
        return ran.error();
    const Result<bool> row = next();
    if (!row)
        return row.error();
    if (!*row)
        return Error::notFound();
    return value(0);
}

WriteTransaction::WriteTransaction(QSqlDatabase db, Lock lock)
    : m_db(std::move(db))
{
    if (lock == Lock::Deferred) {
        m_open = m_db.transaction();
        if (!m_open)
            m_begun = Error::failed(m_db.lastError().text());
        return;
    }
    QSqlQuery begin(m_db);
    m_open = begin.exec(QString::fromLatin1(sql::beginImmediate));
    if (!m_open)
        m_begun = Error::failed(begin.lastError().text());
}

WriteTransaction::~WriteTransaction()
{
    if (m_open)
        m_db.rollback();
}

Status WriteTransaction::commit()
{
    if (!m_open)
        return m_begun;
    if (!m_db.commit())
        return Error::failed(m_db.lastError().text()); // the destructor rolls back
    m_open = false;
    return {};
}

} // namespace shelvio
