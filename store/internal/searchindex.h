#pragma once

#include "result.h"

#include <QSqlDatabase>

// The catalogue file's search index (see statements.h, namespace search):
// whether it is current, building it, and the stand-in for a file that can
// only be read.
namespace shelvio::searchindex {

// Whether the file holds the index of this build's form, with its triggers,
// and the index holds every book.
Result<bool> isCurrent(const QSqlDatabase& db);

// Drops whatever there is of the index and builds it afresh from Books, in
// one transaction: on failure the file is left as it was.
Status rebuild(const QSqlDatabase& db);

// Builds the index when it is not current, and has the connection load it.
Status ensure(const QSqlDatabase& db);

// For a connection that may not write: a copy of the index in the
// connection's temporary database, which then stands in for the file's
// own; or, once the file's own is current, none.
Status buildSnapshot(const QSqlDatabase& db);
Status dropSnapshot(const QSqlDatabase& db);

// A number that changes whenever another connection commits a change.
Result<qint64> dataVersion(const QSqlDatabase& db);

} // namespace shelvio::searchindex
