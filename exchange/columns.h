#pragma once

#include "csv.h"
#include "importrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// What a column of a table (CSV or tab-separated, with a header row) holds,
// guessed from its name and open to the user's choice, and the reading of
// a row by such a mapping.
namespace shelvio::exchange {

enum class Column {
    Ignore,
    Title,
    LastName,
    FirstName,
    Author, // one name: "Last, First" or "First Last"
    YearPublished,
    Pages,
    Cost,
    DateRead,
    Rating,
    HaveRead,
    WantToRead,
    WantToBuy,
    Own,
    Comments,
    Categories,
};

// Every choice, Ignore first, in the order a mapping dialog offers them.
const QList<Column>& columnChoices();
// "Title", "Author Last Name", "(not imported)", ...
QString columnLabel(Column column);

// The column a header name stands for, by its words without regard to case,
// blanks or punctuation ("Author Last Name", "surname", "Number of Pages",
// "tags", ...); Ignore for a name it does not know.
Column guessColumn(const QString& name);
// A column for each header name; where two names stand for the same
// column, the first one keeps it.
QList<Column> guessMapping(const QStringList& header);

// A row read by the mapping. Text is taken without the blanks at its ends
// (comments as they stand); a one-name author is split; a date written year
// first becomes the stored form; a rating is read as the rating boxes'
// words or as 0 to 5 stars; flags as yes/no words; categories are split at
// ";" where the field holds one, else at ",".
ImportRecord recordFromMappedRow(const QList<Column>& mapping, const CsvRecord& row);

} // namespace shelvio::exchange
