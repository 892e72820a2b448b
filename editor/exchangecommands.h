#pragma once

#include <QString>

class QTextStream;

// tomarium --export FILE.csv and tomarium --import FILE [--skip-duplicates]:
// the same work as File > Export Books and File > Import Books, without a
// window, for scripts. What was done, or why not, is printed.
namespace shelvio {

// Exit code 0 when the file was written, 1 when not.
int runExport(const QString& cataloguePath, const QString& file, QTextStream& out, QTextStream& err);

// Exit code 0 when the books were added (or there was nothing new to add),
// 1 when nothing was imported because of an error.
int runImport(const QString& cataloguePath, const QString& file, bool skipDuplicates, QTextStream& out,
              QTextStream& err);

} // namespace shelvio
