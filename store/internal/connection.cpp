#include "connection.h"

#include "textfold.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
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

template <QString (*Fold)(QStringView), bool TrimBlanks>
void foldFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = sqlite3_value_text(argv[0]);
    int bytes = sqlite3_value_bytes(argv[0]);
    if (text && TrimBlanks) {
        while (bytes > 0 && text[0] == ' ') {
            ++text;
            --bytes;
        }
        while (bytes > 0 && text[bytes - 1] == ' ')
            --bytes;
    }
    if (text && isAscii(text, bytes)) {
        // The common case, without a round trip through UTF-16.
        char* out = static_cast<char*>(sqlite3_malloc(bytes + 1));
        if (!out) {
            sqlite3_result_error_nomem(context);
            return;
        }
        for (int i = 0; i < bytes; ++i) {
            const unsigned char c = text[i];
            out[i] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        sqlite3_result_text(context, out, bytes, sqlite3_free);
        return;
    }
    const QByteArray folded = Fold(QString::fromUtf8(reinterpret_cast<const char*>(text), bytes)).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
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
    const QVariant handle = db.driver()->handle();
    sqlite3* sqlite = handle.isValid() ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
    if (!sqlite)
        return Error::failed(u"The database driver gave no SQLite handle."_s);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(sqlite, sortKeyFunction, 1, flags, nullptr, &foldFunction<sortKey, true>,
                                   nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(sqlite, caseFoldFunction, 1, flags, nullptr,
                                   &foldFunction<caseFold, false>, nullptr, nullptr, nullptr) != SQLITE_OK)
        return Error::failed(QString::fromUtf8(sqlite3_errmsg(sqlite)));
    sqlite3_busy_handler(sqlite, &waitInShortSteps, nullptr);
    return {};
}

Status applySettings(QSqlDatabase& db, Access access)
{
    QSqlQuery query(db);
    // A rollback journal and full sync keep the file whole on disk after each
    // commit: the report viewer reads it and backup copies it as a file.
    QStringList pragmas{u"PRAGMA synchronous = FULL"_s};
    if (access == Access::ReadWrite)
        pragmas.prepend(u"PRAGMA journal_mode = DELETE"_s);
    for (const QString& pragma : pragmas) {
        if (!query.exec(pragma))
            return Error::failed(query.lastError().text());
    }
    return {};
}

} // namespace

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
