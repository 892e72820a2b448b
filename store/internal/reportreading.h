#pragma once

#include "book.h"
#include "reportdata.h"
#include "result.h"

#include <vector>

namespace shelvio {

// Who puts a report's books in order: SQLite, ORDER BY the registered
// shelvio_sortkey function (the reference), or the program over sort keys.
enum class RowOrder { BySql, InProgram };

Result<std::vector<Book>> readReportBooks(const ReportQuery& query, RowOrder order);

} // namespace shelvio
