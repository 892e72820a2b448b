#include "referenceorder.h"

#include "connection.h"
#include "reportreading.h"
#include "statement.h"
#include "statements.h"

namespace shelvio::reference {

namespace {

SqlText treeStatement(TreeOrdering ordering)
{
    switch (ordering) {
    case TreeOrdering::ByTitle:
        return sql::reference::booksByTitle;
    case TreeOrdering::ByAuthor:
        return sql::reference::booksByAuthor;
    case TreeOrdering::ByCategory:
        break;
    }
    return sql::reference::booksByCategory;
}

TreeRow treeRow(const Statement& row, TreeOrdering ordering)
{
    TreeRow read{row.value(0).toLongLong(), row.value(1).toString(), {}, {}, {}};
    if (ordering == TreeOrdering::ByAuthor) {
        read.author = row.value(2).toString();
        read.firstName = row.value(3).toString();
    } else if (ordering == TreeOrdering::ByCategory) {
        read.category = row.value(2).toString();
    }
    return read;
}

} // namespace

Result<std::vector<TreeRow>> treeRows(const QString& cataloguePath, TreeOrdering ordering)
{
    Result<QSqlDatabase> opened = openConnection(cataloguePath, Access::ReadOnly);
    if (!opened)
        return opened.error();
    QSqlDatabase db = opened.take();
    std::vector<TreeRow> rows;
    Status read;
    {
        Statement query(db, treeStatement(ordering));
        read = query.forEachRow({}, [&](const Statement& row) { rows.push_back(treeRow(row, ordering)); });
    }
    closeConnection(db);
    if (!read)
        return read.error();
    return rows;
}

Result<std::vector<Book>> reportBooks(const ReportQuery& query)
{
    return readReportBooksInSqlOrder(query);
}

} // namespace shelvio::reference
