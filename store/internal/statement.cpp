#include "statement.h"

#include "statements.h"

#include <QSqlError>

namespace shelvio {

Statement::Statement(const QSqlDatabase& db, SqlText sql)
    : Statement(db, {sql})
{
}

Statement::Statement(const QSqlDatabase& db, std::initializer_list<SqlText> pieces)
    : m_query(db)
{
    QString text;
    for (const SqlText& piece : pieces)
        text += QLatin1StringView(piece.text());
    m_query.setForwardOnly(true);
    m_prepared = m_query.prepare(text);
}

bool prepare(QSqlQuery& query, SqlText sql)
{
    return query.prepare(QString::fromLatin1(sql.text()));
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
    Statement begin(m_db, sql::beginImmediate);
    m_begun = begin.run();
    m_open = bool(m_begun);
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
