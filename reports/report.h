#pragma once

#include "reportdata.h"
#include "reportdefinition.h"
#include "reportlayout.h"
#include "result.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace shelvio::reports {

// One table a report reads, and the file it is read from. A definition
// carries no usable file location: the report window points every table at
// the catalogue before the report is run.
class ReportTable {
public:
    explicit ReportTable(QString name)
        : m_name(std::move(name))
    {
    }
    QString name() const { return m_name; }
    QString location() const { return m_location; }
    void setLocation(const QString& path) { m_location = path; }

private:
    QString m_name;
    QString m_location;
};

// A run-time instance of a definition. It keeps the rows of its last run
// until told to discard them, so a window that opens it again must call
// discardSavedData() to see the catalogue as it is now.
class Report {
public:
    explicit Report(const ReportDefinition& definition);
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const ReportDefinition& definition() const { return m_definition; }

    int tableCount() const { return int(m_tables.size()); }
    // Numbered from 1, as report tables are.
    ReportTable& table(int number);

    // The one subreport of the full listings (categories of each book), or
    // nullptr for a report without one.
    Report* openSubreport();

    void discardSavedData();
    bool hasSavedData() const { return m_rows != nullptr; }

    // Reads the books unless saved data are held; the error says, for the
    // user, why the catalogue cannot be read.
    Status readData();
    // The books read, in the report's order; none before a read. A layout
    // shares them, so they live as long as any of its pages is shown.
    std::shared_ptr<const ReportRows> rows() const;

private:
    Report(const ReportDefinition& definition, std::vector<ReportTable> tables);

    const ReportDefinition& m_definition;
    std::vector<ReportTable> m_tables;
    std::unique_ptr<Report> m_subreport;
    std::shared_ptr<const ReportRows> m_rows;
};

// Points every table of the report and of its subreport at one catalogue
// file, in table order: what a report window does before each view.
void setLocationOfEveryTable(Report& report, const QString& path);

// Reads the report afresh from the catalogue at `path`, the way a report
// window does before each view: its saved data discarded, every table of it
// and of its subreport pointed at the file, the books read.
Status loadReportData(Report& report, const QString& path);

// A report run whole, for the command line, the tests and the benchmark: the
// definition read from the catalogue at `path` and laid out.
Result<ReportDocument> runReport(const ReportDefinition& definition, const QString& path,
                                 const LayoutOptions& options = defaultLayoutOptions());

} // namespace shelvio::reports
