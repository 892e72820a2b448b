#include "legacyconversion.h"

#include "catalogue.h"
#include "connection.h"
#include "fileformat.h"
#include "jetfile.h"
#include "legacytables.h"
#include "schema.h"
#include "statement.h"
#include "statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

using namespace legacy;

// Opens the Jet file and finds the catalogue's tables in it, each with the
// columns the catalogue needs. Fails when the file cannot be read or is not
// a book catalogue.
Status openJetCatalogue(JetFile& jet, const QString& path, QHash<QString, JetTable>* tables)
{
    if (!jet.open(path))
        return Error::failed(jet.error());
    QStringList problems;
    for (const TableLayout& layout : catalogueTables()) {
        const auto table = jet.table(layout.name);
        if (!table && !jet.error().isEmpty())
            return Error::failed(jet.error());
        if (!table)
            problems << u"it has no table %1"_s.arg(layout.name);
        else
            problems << tableProblems(layout, *table);
        if (table)
            tables->insert(layout.name, *table);
    }
    if (!problems.isEmpty())
        return Error::failed(u"It is not a book catalogue: "_s + problems.join(u"; "_s) + u'.');
    return {};
}

// Writes the new file from the Jet file and checks it; see convertJetCatalogue.
class Converter {
public:
    Converter(const QString& jetPath, const QString& targetPath)
        : m_jetPath(jetPath)
        , m_targetPath(targetPath)
    {
    }

    Result<LegacyConversion> run();

private:
    bool fail(const QString& message);
    bool failed(const QSqlQuery& query, const QString& what);
    bool openSource();
    bool createTarget();
    bool copyAll();
    bool copyTable(const TableLayout& layout);
    bool setNextKey(const TableLayout& layout);
    bool run(QSqlQuery& query, SqlText statement, const QVariantList& values);
    std::optional<int> changedRows(SqlText statement, const QVariantList& values);
    std::optional<qint64> number(SqlText statement, const QVariantList& values = {});
    bool checkCounts();
    bool checkTable(const TableLayout& layout);
    bool checkRow(const TableLayout& layout, const QVariantList& values, QSqlQuery& stored);
    bool checkNextKeys();
    bool closeTarget();
    void discardTarget();

    QString m_jetPath;
    QString m_targetPath;
    JetFile m_jet;
    QHash<QString, JetTable> m_tables; // by the catalogue's table name
    QHash<QString, qint64> m_rowsRead; // by table
    QHash<QString, qint64> m_nextKeys; // the last key handed out, by table
    QSqlDatabase m_db;
    bool m_created = false;
    LegacyConversion m_result;
    QString m_error;
};

Result<LegacyConversion> Converter::run()
{
    bool ok = openSource() && createTarget() && copyAll() && checkCounts();
    for (const TableLayout& layout : catalogueTables())
        ok = ok && checkTable(layout);
    ok = ok && checkNextKeys() && closeTarget();
    if (ok)
        return m_result;
    discardTarget();
    return Error::failed(m_error);
}

bool Converter::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool Converter::failed(const QSqlQuery& query, const QString& what)
{
    return fail(u"%1: %2"_s.arg(what, query.lastError().text()));
}

bool Converter::openSource()
{
    if (QFileInfo::exists(m_targetPath))
        return fail(u"The file %1 is already there."_s.arg(QDir::toNativeSeparators(m_targetPath)));
    if (detectFileKind(m_jetPath) != FileKind::Jet)
        return fail(u"The file %1 is not a Jet database."_s.arg(QDir::toNativeSeparators(m_jetPath)));
    if (Status opened = openJetCatalogue(m_jet, m_jetPath, &m_tables); !opened)
        return fail(opened.error().text());
    return true;
}

bool Converter::createTarget()
{
    // Checked to be absent in openSource(): whatever is there now is ours.
    m_created = true;
    Result<QSqlDatabase> db = openConnection(m_targetPath, Access::ReadWrite);
    Status made = db ? Status() : Status(db.error());
    if (db) {
        m_db = db.take();
        made = schema::create(m_db);
    }
    if (!made)
        return fail(u"The new catalogue %1 cannot be made: %2"_s.arg(QDir::toNativeSeparators(m_targetPath),
                                                                     made.error().text()));
    return true;
}

// Every row and the next keys go in together, or nothing does.
bool Converter::copyAll()
{
    WriteTransaction transaction(m_db);
    if (!transaction.begun())
        return fail(transaction.begun().error().text());
    bool ok = true;
    for (const TableLayout& layout : catalogueTables())
        ok = ok && copyTable(layout);
    for (const TableLayout& layout : catalogueTables())
        ok = ok && (layout.key.isEmpty() || setNextKey(layout));
    if (!ok)
        return false;
    const Status committed = transaction.commit();
    return committed || fail(committed.error().text());
}

bool Converter::copyTable(const TableLayout& layout)
{
    QSqlQuery insert(m_db);
    if (!prepare(insert, layout.insertRow))
        return failed(insert, u"The table %1 cannot be written"_s.arg(layout.name));
    qint64 rows = 0;
    bool written = true;
    const bool read = m_jet.readRows(layout.name, layout.columns, [&](const QVariantList& values) {
        // A row without its key would be given a new one, and its links
        // would point at another book.
        if (!layout.key.isEmpty() && values.constFirst().isNull()) {
            written = fail(u"A row of the table %1 has no %2."_s.arg(layout.name, layout.key));
            return false;
        }
        for (qsizetype i = 0; i < values.size(); ++i)
            insert.bindValue(int(i), storedForm(expectedType(layout.columns.at(i)), values.at(i)));
        written =
            insert.exec() || failed(insert, u"A row of the table %1 cannot be written"_s.arg(layout.name));
        rows += written;
        return written;
    });
    if (!read)
        return fail(m_jet.error());
    if (!written)
        return false;
    // The table definition keeps its own count: a row that libmdb skipped
    // (damaged, or stored in a way it does not follow) shows up here.
    if (rows != m_tables.value(layout.name).rowCount) {
        return fail(u"The table %1 should hold %2 rows, but %3 could be read."_s.arg(layout.name)
                        .arg(m_tables.value(layout.name).rowCount)
                        .arg(rows));
    }
    m_rowsRead.insert(layout.name, rows);
    return true;
}

// The next key lies above the Jet counter, above every key in the table and
// above every key a link row names: a new row never takes the number of one
// that was deleted, nor inherits a link left behind by it.
bool Converter::setNextKey(const TableLayout& layout)
{
    qint64 highest = qMax<qint64>(0, m_tables.value(layout.name).autoNumber);
    for (const SqlText& statement : layout.highestKeys) {
        const auto key = number(statement);
        if (!key)
            return false;
        highest = qMax(highest, *key);
    }
    // An empty table has no entry yet.
    const auto updated = changedRows(sql::legacy::updateNextKey, {highest, layout.name});
    if (!updated || (*updated == 0 && !changedRows(sql::legacy::insertNextKey, {highest, layout.name})))
        return false;
    m_nextKeys.insert(layout.name, highest);
    return true;
}

// Runs a statement with its values bound; the query is left on its result.
bool Converter::run(QSqlQuery& query, SqlText statement, const QVariantList& values)
{
    query.setForwardOnly(true);
    if (!prepare(query, statement))
        return failed(query, u"The new catalogue cannot be written or read"_s);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec() || failed(query, u"The new catalogue cannot be written or read"_s);
}

// How many rows a change touched.
std::optional<int> Converter::changedRows(SqlText statement, const QVariantList& values)
{
    QSqlQuery query(m_db);
    return run(query, statement, values) ? std::optional<int>(query.numRowsAffected()) : std::nullopt;
}

// The first column of the first row, 0 for Null.
std::optional<qint64> Converter::number(SqlText statement, const QVariantList& values)
{
    QSqlQuery query(m_db);
    if (!run(query, statement, values))
        return std::nullopt;
    if (!query.next()) {
        failed(query, u"The new catalogue cannot be read"_s);
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

bool Converter::checkCounts()
{
    for (const TableLayout& layout : catalogueTables()) {
        const auto count = number(layout.countRows);
        if (!count)
            return false;
        if (*count != m_rowsRead.value(layout.name)) {
            return fail(u"The new table %1 holds %2 rows instead of %3."_s.arg(layout.name)
                            .arg(*count)
                            .arg(m_rowsRead.value(layout.name)));
        }
    }
    const auto orphans = number(sql::legacy::countOrphanLinks);
    if (!orphans)
        return false;
    m_result.books = m_rowsRead.value(u"Books"_s);
    m_result.categories = m_rowsRead.value(u"Category"_s);
    m_result.links = m_rowsRead.value(u"BookCategoryLink"_s);
    m_result.orphanLinks = *orphans;
    return true;
}

// Reads the Jet table a second time and finds each of its rows, value for
// value, in the new file.
bool Converter::checkTable(const TableLayout& layout)
{
    QSqlQuery stored(m_db);
    stored.setForwardOnly(true);
    if (!prepare(stored, layout.rowByKey))
        return failed(stored, u"The new table %1 cannot be read"_s.arg(layout.name));
    bool same = true;
    const bool read = m_jet.readRows(layout.name, layout.columns, [&](const QVariantList& values) {
        same = checkRow(layout, values, stored);
        return same;
    });
    if (!read)
        return fail(m_jet.error());
    return same;
}

bool Converter::checkRow(const TableLayout& layout, const QVariantList& values, QSqlQuery& stored)
{
    const QString row = u"%1 %2"_s.arg(layout.columns.constFirst(), values.constFirst().toString());
    if (layout.key.isEmpty()) {
        stored.addBindValue(values.at(0));
        stored.addBindValue(values.at(1));
    } else {
        stored.addBindValue(values.constFirst());
    }
    if (!stored.exec())
        return failed(stored, u"The new table %1 cannot be read"_s.arg(layout.name));
    const bool found = stored.next() && (!layout.key.isEmpty() || stored.value(0).toLongLong() == 1);
    if (!found) {
        stored.finish();
        return fail(u"The row of %1 with %2 is missing from the new catalogue."_s.arg(layout.name, row));
    }
    for (qsizetype i = 0; !layout.key.isEmpty() && i < layout.columns.size(); ++i) {
        if (!sameValue(expectedType(layout.columns.at(i)), values.at(i), stored, int(i))) {
            stored.finish();
            return fail(u"In the new catalogue, %1.%2 of the row with %3 differs from the original."_s.arg(
                layout.name, layout.columns.at(i), row));
        }
    }
    stored.finish();
    return true;
}

bool Converter::checkNextKeys()
{
    for (auto it = m_nextKeys.cbegin(); it != m_nextKeys.cend(); ++it) {
        const auto key = number(sql::legacy::nextKey, {it.key()});
        if (!key)
            return false;
        if (*key != it.value())
            return fail(u"The next key of the new table %1 is not above the old keys."_s.arg(it.key()));
    }
    return true;
}

bool Converter::closeTarget()
{
    closeConnection(m_db);
    if (Status tables = schema::verifyFile(m_targetPath); !tables)
        return fail(u"The new catalogue does not open as one: %1"_s.arg(tables.error().text()));
    return true;
}

void Converter::discardTarget()
{
    if (m_db.isValid())
        closeConnection(m_db);
    if (m_created) {
        QFile::remove(m_targetPath);
        QFile::remove(m_targetPath + u"-journal"_s);
    }
}

} // namespace

Status checkJetCatalogue(const QString& jetPath)
{
    JetFile jet;
    QHash<QString, JetTable> tables;
    return openJetCatalogue(jet, jetPath, &tables);
}

// A zero-length text: libmdb's own values give it as Null, but the row's null
// mask tells the two apart, and JetFile reads that. An empty text therefore
// arrives as empty text and a Null as Null, each exactly as the original
// holds it (the editor reads both as empty).
Result<LegacyConversion> convertJetCatalogue(const QString& jetPath, const QString& targetPath)
{
    return Converter(jetPath, targetPath).run();
}

} // namespace shelvio
