#pragma once

#include "catalogue.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// Opening an SQLite connection to a catalogue file the same way in both
// programs: journal and sync settings that keep the file whole on disk after
// every commit, a wait on a short lock instead of a failure, and the text
// functions the statements order and compare by.
namespace shelvio {

// Opens a connection under a fresh name. ReadWrite creates a missing file.
// QSqlDatabase has no move: taking the handle out of the result copies it,
// and the result must be gone before closeConnection(), or Qt warns that
// the connection is still in use.
Result<QSqlDatabase> openConnection(const QString& path, Access access);

// Closes the connection and forgets its name; the handle passed in is reset.
void closeConnection(QSqlDatabase& db);

// SQLite's own handle of the connection, for reading many rows without a
// QVariant for every value; nullptr when there is none.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// Names of the SQL functions every connection has (see textfold.h).
inline constexpr char sortKeyFunctionName[] = "shelvio_sortkey";
inline constexpr char caseFoldFunctionName[] = "shelvio_casefold";

} // namespace shelvio
