#include "rowreader.h"

#include "connection.h"

#include <sqlite3.h>

#include <string>

using namespace Qt::StringLiterals;

namespace shelvio {

RowReader::RowReader(const QSqlDatabase& db, SqlText sql)
    : RowReader(db, {sql})
{
}

RowReader::RowReader(const QSqlDatabase& db, std::initializer_list<SqlText> pieces)
    : m_db(db)
{
    std::string text;
    for (const SqlText& piece : pieces)
        text += piece.text();
    sqlite3* handle = sqliteHandle(db);
    if (!handle || !db.isOpen()) {
        m_prepared = Error::failed(u"The catalogue is not open."_s);
        return;
    }
    if (sqlite3_prepare_v2(handle, text.c_str(), -1, &m_statement, nullptr) != SQLITE_OK)
        m_prepared = failure();
}

RowReader::~RowReader()
{
    sqlite3_finalize(m_statement);
}

Error RowReader::failure() const
{
    return Error::failed(QString::fromUtf8(sqlite3_errmsg(sqliteHandle(m_db))));
}

Result<bool> RowReader::next()
{
    if (!m_prepared)
        return m_prepared.error();
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        return failure();
    }
}

RowReader::Kind RowReader::kind(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return Kind::Integer;
    case SQLITE_FLOAT:
        return Kind::Real;
    case SQLITE_TEXT:
        return Kind::Text;
    case SQLITE_BLOB:
        return Kind::Blob;
    default:
        return Kind::Null;
    }
}

double RowReader::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

bool RowReader::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 RowReader::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string_view RowReader::text(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!bytes)
        return {};
    return {bytes, size_t(sqlite3_column_bytes(m_statement, column))};
}

} // namespace shelvio
