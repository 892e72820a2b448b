#include "reportwindow.h"

#include "messages.h"
#include "report.h"
#include "reportviewer.h"

#include <QGuiApplication>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

// The busy mouse pointer for as long as a load runs, however it ends.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

ReportWindow::ReportWindow(const ReportDefinition& definition, const QString& databasePath,
                           Messages& messages, QWidget* parent)
    : QDialog(parent)
    , m_definition(definition)
    , m_databasePath(databasePath)
    , m_messages(messages)
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

bool ReportWindow::loadReport(QString* error)
{
    BusyCursor busy;
    if (!m_report)
        m_report = std::make_unique<Report>(m_definition);
    m_report->discardSavedData();
    setLocationOfEveryTable(*m_report, m_databasePath);
    delete m_viewer;
    m_viewer = new ReportViewer(this);
    m_viewer->setObjectName(u"CRViewer1"_s);
    layout()->addWidget(m_viewer);
    connect(m_viewer, &ReportViewer::refreshFailed, this, [this](const QString& error) {
        m_messages.error(
            u"The report could not be read again.\n\n%1\n\nRefresh once the catalogue can be read."_s.arg(
                error),
            m_definition.caption);
    });
    m_viewer->setReportSource(m_report.get());
    return m_viewer->viewReport(error);
}

} // namespace shelvio::reports
