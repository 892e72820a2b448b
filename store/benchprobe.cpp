#include "benchprobe.h"

#include "connection.h"
#include "rowreader.h"
#include "statement.h"
#include "statements.h"

namespace shelvio {

struct BenchProbe::Connection {
    QSqlDatabase db;
    ~Connection()
    {
        for (SqlText drop : sql::probe::dropIndexes) {
            Statement statement(db, drop);
            (void)statement.run();
        }
        closeConnection(db);
    }
};

BenchProbe::BenchProbe(const QString& path)
{
    Result<QSqlDatabase> opened = openConnection(path, Access::ReadWrite);
    if (!opened) {
        m_status = opened.error();
        return;
    }
    m_connection = std::make_unique<Connection>();
    m_connection->db = opened.take();
    for (SqlText create : sql::probe::createIndexes) {
        Statement statement(m_connection->db, create);
        if (m_status = statement.run(); !m_status)
            return;
    }
}

BenchProbe::~BenchProbe() = default;

namespace {

// Reads every row as (group, text); a group starts where its text changes.
Result<ProbeRows> readRows(const QSqlDatabase& db, SqlText statement, int groupColumns)
{
    RowReader rows(db, statement);
    ProbeRows read;
    std::string lastGroup;
    for (;;) {
        const Result<bool> found = rows.next();
        if (!found)
            return found.error();
        if (!*found)
            return read;
        const std::string_view text = rows.text(1);
        read.texts.push_back(QString::fromUtf8(text.data(), qsizetype(text.size())));
        if (groupColumns == 0)
            continue;
        std::string group;
        for (int column = 2; column < 2 + groupColumns; ++column)
            group.append(rows.text(column)).append(1, '\0');
        if (read.groups.empty() || group != lastGroup) {
            read.groups.push_back(QString::fromUtf8(group.data(), qsizetype(group.size())));
            lastGroup = std::move(group);
        }
        read.groupOfRow.push_back(qint32(read.groups.size() - 1));
    }
}

} // namespace

Result<ProbeRows> BenchProbe::readTitles()
{
    if (!m_status)
        return m_status.error();
    return readRows(m_connection->db, sql::probe::titlesInOrder, 0);
}

Result<ProbeRows> BenchProbe::readAuthors()
{
    if (!m_status)
        return m_status.error();
    return readRows(m_connection->db, sql::probe::authorsInOrder, 2);
}

Result<ProbeRows> BenchProbe::readCategories()
{
    if (!m_status)
        return m_status.error();
    return readRows(m_connection->db, sql::probe::categoriesInOrder, 1);
}

Result<qint64> BenchProbe::readReportColumns()
{
    if (!m_status)
        return m_status.error();
    RowReader rows(m_connection->db, sql::probe::reportColumns);
    qint64 count = 0;
    for (;;) {
        const Result<bool> found = rows.next();
        if (!found)
            return found.error();
        if (!*found)
            return count;
        for (int column = 0; column < 15; ++column)
            (void)rows.text(column); // each value as text, as a reader would take it
        ++count;
    }
}

Status BenchProbe::saveBookWithLinks(qint64 bookId, const QString& title)
{
    if (!m_status)
        return m_status;
    WriteTransaction transaction(m_connection->db);
    if (!transaction.begun())
        return transaction.begun();
    Statement update(m_connection->db, sql::probe::updateTitle);
    if (Status done = update.run({title, title, bookId}); !done)
        return done;
    Statement unlink(m_connection->db, sql::deleteLinksOfBook);
    if (Status done = unlink.run({bookId}); !done)
        return done;
    Statement link(m_connection->db, sql::insertLink);
    for (qint64 category = 1; category <= 3; ++category) {
        if (Status done = link.run({bookId, category}); !done)
            return done;
    }
    return transaction.commit();
}

} // namespace shelvio
