#pragma once

#include "result.h"
#include "statement.h"

#include <QSqlDatabase>

#include <initializer_list>
#include <string_view>

struct sqlite3_stmt;

namespace shelvio {

// Reads the rows of one of the fixed statements of statements.h straight
// from SQLite, without a QVariant for every value: for queries that read a
// whole table of a million rows front to back.
class RowReader {
public:
    RowReader(const QSqlDatabase& db, SqlText sql);
    // A text joined from fixed pieces, in their order.
    RowReader(const QSqlDatabase& db, std::initializer_list<SqlText> pieces);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    // Moves to the next row: true on a row, false at the end.
    Result<bool> next();

    // How SQLite stores the value.
    enum class Kind { Integer, Real, Text, Blob, Null };
    Kind kind(int column) const;
    bool isNull(int column) const;
    double real(int column) const;
    qint64 integer(int column) const;
    // The value as SQLite gives it as text (a number in its decimal form);
    // empty for Null. Valid until the next call of next().
    std::string_view text(int column) const;

private:
    Error failure() const;

    const QSqlDatabase& m_db;
    sqlite3_stmt* m_statement = nullptr;
    Status m_prepared;
};

// Reads every row of the statement, handing each to `add`.
template <class Add> Status readEveryRow(RowReader& rows, Add add)
{
    for (;;) {
        const Result<bool> found = rows.next();
        if (!found)
            return found.error();
        if (!*found)
            return {};
        add(rows);
    }
}

template <class Add> Status readEveryRow(const QSqlDatabase& db, SqlText statement, Add add)
{
    RowReader rows(db, statement);
    return readEveryRow(rows, add);
}
template <class Add>
Status readEveryRow(const QSqlDatabase& db, std::initializer_list<SqlText> pieces, Add add)
{
    RowReader rows(db, pieces);
    return readEveryRow(rows, add);
}

} // namespace shelvio
