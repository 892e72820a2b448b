#pragma once

#include "reportdefinition.h"
#include "result.h"

#include <QDialog>

#include <memory>

namespace shelvio {
class Prompter;
}

namespace shelvio::reports {

class Report;
class ReportViewer;

// The window of one report: a viewer filling the whole client area, and
// nothing else. The window object lives as long as the program; each time it
// opens, its viewer is made anew and the report is read afresh from the
// catalogue. The report object is made on the first load and kept.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    // A refresh, print or export that fails is told through `prompter`.
    ReportWindow(const ReportDefinition& definition, const QString& databasePath, Prompter& prompter,
                 QWidget* parent = nullptr);
    ~ReportWindow() override;

    // The load steps: busy cursor, report object, discard saved data, point
    // every table at the catalogue, hand the report to the viewer and view
    // it. The error says why the report cannot be run.
    Status loadReport();

    const ReportDefinition& definition() const { return m_definition; }
    Report* report() const { return m_report.get(); }
    ReportViewer* viewer() const { return m_viewer; }

private:
    const ReportDefinition& m_definition;
    QString m_databasePath;
    Prompter& m_prompter;
    std::unique_ptr<Report> m_report;
    ReportViewer* m_viewer = nullptr;
};

} // namespace shelvio::reports
