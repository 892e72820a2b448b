#include "reportwindow.h"

#include "report.h"
#include "reportviewer.h"
#include "windowlook.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

ReportWindow::ReportWindow(const ReportDefinition& definition, const QString& databasePath,
                           Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_definition(definition)
    , m_databasePath(databasePath)
    , m_prompter(prompter)
{
    setObjectName(definition.windowName);
    setWindowTitle(definition.caption);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(false);
    // The viewer has no margin: it always fills the client area exactly.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

ReportWindow::~ReportWindow() = default;

Status ReportWindow::loadReport()
{
    BusyCursor busy;
    if (!m_report)
        m_report = std::make_unique<Report>(m_definition);
    const Status read = loadReportData(*m_report, m_databasePath);
    delete m_viewer;
    m_viewer = new ReportViewer(m_prompter, this);
    m_viewer->setObjectName(u"CRViewer1"_s);
    layout()->addWidget(m_viewer);
    m_viewer->setReportSource(m_report.get());
    if (!read)
        return read;
    return m_viewer->viewReport();
}

} // namespace shelvio::reports
