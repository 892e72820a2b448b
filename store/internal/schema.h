#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The catalogue's tables, columns and indexes.
namespace shelvio::schema {

// Columns of each table in their stored order.
QStringList bookColumns();             // 40 columns, BookID first
QStringList categoryColumns();         // CategoryID, CategoryName
QStringList bookCategoryLinkColumns(); // BookID, CategoryKey

// Index names. SQLite keeps index names in one name space for the whole
// file, so each carries its table's name in front of the name the index has
// within its table ("Books_AuthorID").
QStringList indexNames();

// Creates every table and index in an empty database, in one transaction.
Status create(QSqlDatabase& db);

// Checks that the three tables are there with every column; the error names
// what is missing.
Status verify(const QSqlDatabase& db);

// The same for the SQLite file at `path`, through a read-only connection of
// its own. Reads only.
Status verifyFile(const QString& path);

} // namespace shelvio::schema
