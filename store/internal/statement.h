#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cstddef>
#include <functional>
#include <initializer_list>

namespace shelvio {

// The text of a statement, fixed when the program is built. Only a string
// literal or a constexpr array of statements.h makes one: a text put together
// while the program runs, from anything a person typed or a file held, does
// not compile into a statement.
class SqlText {
public:
    template <std::size_t N>
    consteval SqlText(const char (&text)[N]) // NOLINT: made implicitly from the constants
        : m_text(text)
    {
        // Reading the array here is what refuses one that is not a constant.
        if (text[N - 1] != '\0')
            throw "a statement's text ends in a zero byte";
    }

    const char* text() const { return m_text; }

private:
    const char* m_text;
};

// The store's way of running its statements: prepared from the fixed texts
// of statements.h, values always bound, every failure of prepare, exec and
// next an Error with SQLite's words, and "no row" told apart from a failure.
class Statement {
public:
    Statement(const QSqlDatabase& db, SqlText sql);
    // A text joined from fixed pieces, in their order.
    Statement(const QSqlDatabase& db, std::initializer_list<SqlText> pieces);

    // Runs the statement with these values bound in order.
    Status run(const QVariantList& values = {});
    // Moves to the next row: true on a row, false at the end.
    Result<bool> next();
    // Runs the statement and calls `row` on each row it gives, in order.
    Status forEachRow(const QVariantList& values, const std::function<void(const Statement&)>& row);
    // The first column of every row, in order.
    template <class T> Result<QList<T>> firstColumn(const QVariantList& values = {})
    {
        QList<T> column;
        const Status read =
            forEachRow(values, [&](const Statement& row) { column << row.value(0).template value<T>(); });
        if (!read)
            return read.error();
        return column;
    }
    // The first column of the first row; NotFound when there is no row.
    Result<QVariant> single(const QVariantList& values = {});

    QVariant value(int column) const { return m_query.value(column); }
    int rowsChanged() const { return m_query.numRowsAffected(); }
    qint64 insertedId() const { return m_query.lastInsertId().toLongLong(); }
    // Lets go of the statement's read, so that a transaction can end.
    void finish() { m_query.finish(); }

private:
    Error failure() const;

    QSqlQuery m_query;
    bool m_prepared = false;
};

// Prepares a query of the store's own on a fixed text: the one way besides
// Statement that a text reaches SQLite.
bool prepare(QSqlQuery& query, SqlText sql);

// A write transaction that rolls back unless it was committed, so that no
// path out of a change can leave it open or half-written.
class WriteTransaction {
public:
    // Deferred takes the write lock at the first write; Immediate at once,
    // waiting out another writer.
    enum class Lock { Deferred, Immediate };
    explicit WriteTransaction(QSqlDatabase db, Lock lock = Lock::Deferred);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // Whether the transaction began.
    const Status& begun() const { return m_begun; }
    Status commit();

private:
    QSqlDatabase m_db;
    Status m_begun;
    bool m_open = false;
};

} // namespace shelvio
