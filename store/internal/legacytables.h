#pragma once

#include "jetfile.h"
#include "statement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

class QSqlQuery;

// The catalogue's three tables as the older program laid them out in a Jet
// file, and how each value is stored and compared in the new catalogue.
namespace shelvio::legacy {

struct TableLayout {
    QString name;
    QStringList columns;
    QString key;                      // the AutoNumber key; empty for the link table
    SqlText insertRow;                // one row with every column
    SqlText rowByKey;                 // a row by its key; for the link table, whether it is there
    SqlText countRows;                // how many rows the new file holds
    std::vector<SqlText> highestKeys; // the key column here and in the link table
};

const QList<TableLayout>& catalogueTables();

// The Jet type each catalogue column was made with.
JetType expectedType(const QString& column);

// What keeps a Jet table from holding the catalogue table, if anything.
QStringList tableProblems(const TableLayout& layout, const JetTable& table);

// A Jet value as the catalogue stores it.
QVariant storedForm(JetType type, const QVariant& value);

// Whether the catalogue's value in column i of the query is the Jet value.
bool sameValue(JetType type, const QVariant& jetValue, const QSqlQuery& stored, int i);

} // namespace shelvio::legacy
