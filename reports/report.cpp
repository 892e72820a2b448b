#include "report.h"

using namespace Qt::StringLiterals;

namespace shelvio::reports {

Report::Report(const ReportDefinition& definition)
    : Report(definition, {ReportTable(u"Books"_s)})
{
    if (definition.categorySubreport) {
        m_subreport.reset(
            new Report(definition, {ReportTable(u"BookCategoryLink"_s), ReportTable(u"Category"_s)}));
    }
}

Report::Report(const ReportDefinition& definition, std::vector<ReportTable> tables)
    : m_definition(definition)
    , m_tables(std::move(tables))
{
}

Report::~Report() = default;

ReportTable& Report::table(int number)
{
    Q_ASSERT(number >= 1 && number <= tableCount());
    return m_tables.at(size_t(number - 1));
}

Report* Report::openSubreport()
{
    return m_subreport.get();
}

void Report::discardSavedData()
{
    m_books.reset();
    if (m_subreport)
        m_subreport->discardSavedData();
}

bool Report::readData(QString* error)
{
    if (m_books)
        return true;
    ReportQuery query;
    query.booksPath = m_tables.front().location();
    query.selection = m_definition.selection;
    query.order = m_definition.order;
    if (m_subreport) {
        // The subreport's two tables are read together, joined, from one file.
        const QString links = m_subreport->table(1).location();
        if (links != m_subreport->table(2).location()) {
            *error = u"The category tables of the report lie in different files."_s;
            return false;
        }
        query.categoriesPath = links;
    }
    if (query.booksPath.isEmpty() || (m_subreport && query.categoriesPath.isEmpty())) {
        *error = u"The report has not been pointed at a catalogue file."_s;
        return false;
    }
    auto books = readReportBooks(query, error);
    if (!books)
        return false;
    m_books = std::move(*books);
    return true;
}

const std::vector<ReportBook>& Report::books() const
{
    static const std::vector<ReportBook> none;
    return m_books ? *m_books : none;
}

void setLocationOfEveryTable(Report& report, const QString& path)
{
    const int tables = report.tableCount();
    for (int number = 1; number <= tables; ++number)
        report.table(number).setLocation(path);
    if (Report* subreport = report.openSubreport()) {
        const int subreportTables = subreport->tableCount();
        for (int number = 1; number <= subreportTables; ++number)
            subreport->table(number).setLocation(path);
    }
}

} // namespace shelvio::reports
