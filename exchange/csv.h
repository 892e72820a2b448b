#pragma once

#include "result.h"

#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated values as RFC 4180 writes them: fields holding the
// separator, a double quote or a line break stand in double quotes, with
// each double quote inside doubled. The reader takes the records apart
// again, keeps everything inside quotes as it stands (line breaks too), and
// knows on which line of the file each record began.
namespace shelvio::exchange {

struct CsvRecord {
    qint64 line = 0; // the file's line on which the record begins, from 1
    QStringList fields;
};

// The records of the text, blank lines left out. Fails, naming the line,
// where a quoted field is not closed before the text ends.
Result<QList<CsvRecord>> parseCsv(QStringView text, QChar separator);

// The separator of a file's first line: a tab, a semicolon or a comma,
// whichever it holds most of outside quotes; a comma when it holds none.
QChar guessSeparator(QStringView text);

// One record as it is written, ended by CR LF.
QString csvLine(const QStringList& fields, QChar separator = u',');
void appendCsvLine(QString* out, const QStringList& fields, QChar separator = u',');

} // namespace shelvio::exchange
