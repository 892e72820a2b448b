#pragma once

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

// Width of the text columns, and of a category name.
inline constexpr int textColumnWidth = 255;
inline constexpr int categoryNameWidth = 50;

// Creates every table and index in an empty database, in one transaction.
bool create(QSqlDatabase& db, QString* error);

// Checks that the three tables are there with every column. On failure
// *problem names what is missing.
bool verify(const QSqlDatabase& db, QString* problem);

} // namespace shelvio::schema
