#pragma once

#include "book.h"
#include "reportdata.h"
#include "result.h"

#include <vector>

namespace shelvio {

// The books of a report put in order by SQLite, ORDER BY the registered
// shelvio_sortkey function: the way the reports first read their books,
// kept as the reference that readReportRows() is held against.
Result<std::vector<Book>> readReportBooksInSqlOrder(const ReportQuery& query);

} // namespace shelvio
