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
    m_rows.reset();
    if (m_subreport)
        m_subreport->discardSavedData();
}

Status Report::readData()
{
    if (m_rows)
        return {};
    // Every table of the report and of its subreport is read from one file,
    // in one read.
    QStringList locations;
    for (const ReportTable& table : m_tables)
        locations << table.location();
    if (m_subreport) {
        for (const ReportTable& table : m_subreport->m_tables)
            locations << table.location();
    }
    locations.removeDuplicates();
    if (locations.size() > 1)
        return Error::failed(u"The tables of the report lie in different files."_s);
    ReportQuery query;
    query.cataloguePath = locations.value(0);
    query.selection = m_definition.selection;
    query.order = m_definition.order;
    query.withCategories = m_subreport != nullptr;
    auto rows = readReportRows(query);
    if (!rows)
        return rows.error();
    m_rows = std::make_shared<const ReportRows>(*std::move(rows));
    return {};
}

std::shared_ptr<const ReportRows> Report::rows() const
{
    static const auto none = std::make_shared<const ReportRows>();
    return m_rows ? m_rows : none;
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

Status loadReportData(Report& report, const QString& path)
{
    report.discardSavedData();
    setLocationOfEveryTable(report, path);
    return report.readData();
}

Result<ReportDocument> runReport(const ReportDefinition& definition, const QString& path,
                                 const LayoutOptions& options)
{
    Report report(definition);
    if (Status read = loadReportData(report, path); !read)
        return read.error();
    return layoutReport(definition, report.rows(), options);
}

} // namespace shelvio::reports
