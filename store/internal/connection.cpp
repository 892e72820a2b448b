#include "connection.h"

#include "statement.h"
#include "statements.h"
#include "textfold.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// How long a statement waits for another program's lock on the file.
constexpr int busyTimeoutMs = 5000;

bool isAscii(const unsigned char* text, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        if (text[i] >= 0x80)
            return false;
    }
    return true;
}

void setTextResult(sqlite3_context* context, std::string_view text)
{
    sqlite3_result_text(context, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void sortKeyFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    std::string key;
    appendSortKeyUtf8(std::string_view(text ? text : "", size_t(sqlite3_value_bytes(argv[0]))), &key);
    setTextResult(context, key);
}

void caseFoldFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = sqlite3_value_text(argv[0]);
    const int bytes = sqlite3_value_bytes(argv[0]);
    if (text && isAscii(text, bytes)) {
        std::string folded(reinterpret_cast<const char*>(text), size_t(bytes));
        for (char& c : folded)
            c = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        setTextResult(context, folded);
        return;
    }
    const QByteArray folded =
        caseFold(QString::fromUtf8(reinterpret_cast<const char*>(text), bytes)).toUtf8();
    setTextResult(context, std::string_view(folded.constData(), size_t(folded.size())));
}

// Waits out another program's lock in short steps. SQLite's own wait sleeps
// ever longer, up to a tenth of a second a try, and a program that commits
// one change after another holds the lock at nearly every such try: a reader
// beside a busy writer would give up after its whole wait. Short steps find
// the moments between two commits.
int waitInShortSteps(void*, int tries)
{
    // One wait at a time per thread: SQLite calls this with tries 0 to start.
    thread_local QElapsedTimer waited;
    if (tries == 0)
        waited.start();
    if (waited.elapsed() >= busyTimeoutMs)
        return 0;
    sqlite3_sleep(1);
    return 1;
}

Status registerFunctions(QSqlDatabase& db)
{
    sqlite3* sqlite = sqliteHandle(db);
    if (!sqlite)
        return Error::failed(u"The database driver gave no SQLite handle."_s);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(sqlite, sortKeyFunctionName, 1, flags, nullptr, &sortKeyFunction, nullptr,
                                   nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(sqlite, caseFoldFunctionName, 1, flags, nullptr, &caseFoldFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        return Error::failed(QString::fromUtf8(sqlite3_errmsg(sqlite)));
    sqlite3_busy_handler(sqlite, &waitInShortSteps, nullptr);
    return {};
}

Status applySettings(QSqlDatabase& db, Access access)
{
    if (access == Access::ReadWrite) {
        if (Status set = Statement(db, sql::journalModeDelete).run(); !set)
            return set;
    }
    return Statement(db, sql::synchronousFull).run();
}

} // namespace

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.isValid() ? db.driver()->handle() : QVariant();
    return handle.isValid() ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
}

Result<QSqlDatabase> openConnection(const QString& path, Access access)
{
    static QAtomicInt serial;
    const QString name = u"shelvio-%1"_s.arg(serial.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
    db.setDatabaseName(path);
    QString options = u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(busyTimeoutMs);
    if (access == Access::ReadOnly)
        options += u";QSQLITE_OPEN_READONLY"_s;
    db.setConnectOptions(options);
    if (!db.open()) {
        const Error error = Error::failed(db.lastError().text());
        closeConnection(db);
        return error;
    }
    Status ready = registerFunctions(db);
    if (ready)
        ready = applySettings(db, access);
    if (!ready) {
        closeConnection(db);
        return ready.error();
    }
    return db;
}

void closeConnection(QSqlDatabase& db)
{
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    if (!name.isEmpty())
        QSqlDatabase::removeDatabase(name);
}

} // namespace shelvio
