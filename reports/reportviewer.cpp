#include "reportviewer.h"

#include "pageview.h"
#include "prompter.h"
#include "report.h"
#include "reportpainter.h"
#include "windowlook.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

// The layout goes on in turns of the event loop, each of about this many
// milliseconds: short enough to keep the window answering, long enough not
// to slow the layout down. A turn lays out books in batches of this many.
constexpr int millisecondsPerStep = 30;
constexpr int booksPerBatch = 100;

} // namespace

ReportViewer::ReportViewer(Prompter& prompter, QWidget* parent)
    : QWidget(parent)
    , m_prompter(prompter)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    layout->addWidget(m_toolBar);

    m_splitter = new QSplitter(this);
    m_groupTree = new QTreeWidget(m_splitter);
    m_groupTree->setObjectName(u"groupTree"_s);
    m_groupTree->setHeaderLabel(u"Groups"_s);
    m_groupTree->setAccessibleName(u"Groups"_s);
    m_groupTree->hide();
    m_scroll = new QScrollArea(m_splitter);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView;
    m_view->setObjectName(u"pageView"_s);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({220, 1000});
    layout->addWidget(m_splitter, 1);

    buildToolBar();
    updatePageControls();
    m_layoutTimer.setInterval(0);
    connect(&m_layoutTimer, &QTimer::timeout, this, &ReportViewer::layoutStep);
    connect(m_groupTree, &QTreeWidget::itemActivated, this, &ReportViewer::groupChosen);
    connect(m_groupTree, &QTreeWidget::itemClicked, this, &ReportViewer::groupChosen);
}

ReportViewer::~ReportViewer() = default;

void ReportViewer::buildToolBar()
{
    const auto addButton = [this](QToolBar* bar, const QString& text, QStyle::StandardPixmap icon,
                                  const QList<QKeySequence>& keys, QObject*, void (ReportViewer::*slot)()) {
        // Paging is known by the usual pictures; the style has none that fit
        // the other actions, so they say in words what they do.
        const bool paging = text.endsWith(u"Page"_s);
        QAction* action =
            paging ? bar->addAction(bar->style()->standardIcon(icon), text) : bar->addAction(text);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(paging ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
        action->setShortcuts(keys);
        action->setToolTip(keys.isEmpty() ? text : u"%1 (%2)"_s.arg(text, keys.first().toString()));
        connect(action, &QAction::triggered, this, slot);
        if (slot != &ReportViewer::refresh)
            m_pageActions.push_back(action);
        return action;
    };
    addButton(m_toolBar, u"First Page"_s, QStyle::SP_MediaSkipBackward,
              {QKeySequence(Qt::CTRL | Qt::Key_Home)}, this, &ReportViewer::firstPage);
    addButton(m_toolBar, u"Previous Page"_s, QStyle::SP_MediaSeekBackward, {QKeySequence(Qt::Key_PageUp)},
              this, &ReportViewer::previousPage);
    m_pageBox = new QLineEdit(m_toolBar);
    m_pageBox->setObjectName(u"pageBox"_s);
    m_pageBox->setAccessibleName(u"Page"_s);
    m_pageBox->setAlignment(Qt::AlignCenter);
    m_pageBox->setFixedWidth(fontMetrics().horizontalAdvance(u"00000 of 00000"_s) + 16);
    connect(m_pageBox, &QLineEdit::returnPressed, this, &ReportViewer::pageBoxEntered);
    m_toolBar->addWidget(m_pageBox);
    addButton(m_toolBar, u"Next Page"_s, QStyle::SP_MediaSeekForward, {QKeySequence(Qt::Key_PageDown)}, this,
              &ReportViewer::nextPage);
    addButton(m_toolBar, u"Last Page"_s, QStyle::SP_MediaSkipForward, {QKeySequence(Qt::CTRL | Qt::Key_End)},
              this, &ReportViewer::lastPage);
    m_toolBar->addSeparator();

    m_zoomBox = new QComboBox(m_toolBar);
    m_zoomBox->setObjectName(u"zoomBox"_s);
    m_zoomBox->setAccessibleName(u"Zoom"_s);
    m_zoomBox->addItem(u"Fit Page"_s);
    m_zoomBox->addItem(u"Fit Width"_s);
    for (int percent : zoomSteps)
        m_zoomBox->addItem(u"%1%"_s.arg(percent), percent);
    m_zoomBox->setCurrentIndex(1);
    connect(m_zoomBox, &QComboBox::activated, this, &ReportViewer::zoomBoxChosen);
    m_toolBar->addWidget(m_zoomBox);
    addButton(m_toolBar, u"Zoom Out"_s, QStyle::SP_ArrowDown, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, this,
              &ReportViewer::zoomOut);
    addButton(m_toolBar, u"Zoom In"_s, QStyle::SP_ArrowUp,
              {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, this,
              &ReportViewer::zoomIn);
    m_toolBar->addSeparator();

    addButton(m_toolBar, u"Print"_s, QStyle::SP_DialogSaveButton, {QKeySequence::Print}, this,
              &ReportViewer::printWithDialog);
    addButton(m_toolBar, u"Export PDF"_s, QStyle::SP_DriveFDIcon, {QKeySequence(Qt::CTRL | Qt::Key_E)}, this,
              &ReportViewer::exportWithDialog);
    addButton(m_toolBar, u"Refresh"_s, QStyle::SP_BrowserReload, {QKeySequence::Refresh}, this,
              &ReportViewer::refresh);
    m_toolBar->addSeparator();

    m_findBox = new QLineEdit(m_toolBar);
    m_findBox->setObjectName(u"findBox"_s);
    m_findBox->setAccessibleName(u"Find"_s);
    m_findBox->setPlaceholderText(u"Find text"_s);
    m_findBox->setClearButtonEnabled(true);
    m_findBox->setFixedWidth(fontMetrics().horizontalAdvance(u"x"_s) * 24);
    connect(m_findBox, &QLineEdit::returnPressed, this, &ReportViewer::findFromBox);
    m_toolBar->addWidget(m_findBox);
    QAction* focusFind = new QAction(this);
    m_pageActions.push_back(focusFind);
    focusFind->setShortcut(QKeySequence::Find);
    connect(focusFind, &QAction::triggered, this, [this] {
        m_findBox->setFocus();
        m_findBox->selectAll();
    });
    addAction(focusFind);
    addButton(m_toolBar, u"Find Next"_s, QStyle::SP_FileDialogContentsView, {QKeySequence::FindNext}, this,
              &ReportViewer::findFromBox);
    m_status = new QLabel(m_toolBar);
    m_status->setObjectName(u"status"_s);
    m_status->setContentsMargins(8, 0, 8, 0);
    m_toolBar->addWidget(m_status);
    m_progress = new QProgressBar(m_toolBar);
    m_progress->setObjectName(u"layoutProgress"_s);
    m_progress->setAccessibleName(u"Pages laid out"_s);
    m_progress->setFormat(u"Laying out pages: %p%"_s);
    m_progress->setMaximumWidth(fontMetrics().horizontalAdvance(u"Laying out pages: 100%"_s) + 40);
    m_progressAction = m_toolBar->addWidget(m_progress);
    m_progressAction->setVisible(false);
}

void ReportViewer::setReportSource(Report* report)
{
    m_report = report;
}

Status ReportViewer::viewReport()
{
    // The layout refers to the report's rows: it goes before they are read again.
    m_layoutTimer.stop();
    m_view->setDocument(ReportDocument());
    m_layout.reset();
    m_progressAction->setVisible(false);
    m_groupTree->clear();
    m_groupTree->hide();
    m_marksShown = 0;
    m_page = 0;
    m_status->clear();
    const Status read =
        m_report ? m_report->readData() : Error::failed(u"The viewer has no report to show."_s);
    if (read) {
        startLayout();
        return read;
    }
    m_status->setText(u"The report could not be read."_s);
    updatePageControls();
    return read;
}

void ReportViewer::startLayout()
{
    m_layout =
        std::make_shared<ReportLayout>(m_report->definition(), m_report->rows(), defaultLayoutOptions());
    m_view->setDocument(document());
    m_groupTree->setVisible(m_report->definition().groupLevels() > 0);
    applyZoom();
    layoutStep();
}

void ReportViewer::layoutStep()
{
    if (!m_layout)
        return;
    QElapsedTimer turn;
    turn.start();
    bool more = true;
    while (more && turn.elapsed() < millisecondsPerStep)
        more = m_layout->layoutSome(booksPerBatch);
    m_progressAction->setVisible(more);
    if (more) {
        m_progress->setMaximum(int(std::min<qint64>(m_layout->bookCount(), INT_MAX)));
        m_progress->setValue(int(std::min<qint64>(m_layout->booksLaidOut(), INT_MAX)));
    }
    addGroupMarks();
    updatePageControls();
    m_view->update();
    if (more && !m_layoutTimer.isActive())
        m_layoutTimer.start();
    else if (!more)
        m_layoutTimer.stop();
}

void ReportViewer::finishLayout()
{
    if (!m_layout || m_layout->isComplete())
        return;
    BusyCursor busy;
    m_layoutTimer.stop();
    m_layout->layoutAll();
    layoutStep();
}

ReportDocument ReportViewer::document() const
{
    return m_layout ? ReportDocument(m_layout) : ReportDocument();
}

bool ReportViewer::isLaidOut() const
{
    return m_layout && m_layout->isComplete();
}

int ReportViewer::currentPage() const
{
    return m_page;
}

int ReportViewer::pageCount() const
{
    return m_layout ? m_layout->finishedPages() : 0;
}

QString ReportViewer::pageBoxText() const
{
    return m_pageBox->text();
}

void ReportViewer::updatePageControls()
{
    const int count = pageCount();
    if (count == 0)
        m_pageBox->clear();
    else
        m_pageBox->setText(isLaidOut() ? u"%1 of %2"_s.arg(m_page + 1).arg(count)
                                       : u"%1 of %2+"_s.arg(m_page + 1).arg(count));
    for (QWidget* control : std::initializer_list<QWidget*>{m_pageBox, m_zoomBox, m_findBox})
        control->setEnabled(count > 0);
    for (QAction* action : m_pageActions)
        action->setEnabled(count > 0);
}

void ReportViewer::showPage(int index)
{
    const int count = pageCount();
    if (count == 0)
        return;
    m_page = std::clamp(index, 0, count - 1);
    m_view->setPage(m_page);
    m_scroll->verticalScrollBar()->setValue(0);
    updatePageControls();
    emit pageChanged(m_page);
}

void ReportViewer::firstPage()
{
    showPage(0);
}

void ReportViewer::previousPage()
{
    showPage(m_page - 1);
}

void ReportViewer::nextPage()
{
    showPage(m_page + 1);
}

void ReportViewer::lastPage()
{
    finishLayout();
    showPage(pageCount() - 1);
}

void ReportViewer::pageBoxEntered()
{
    bool ok = false;
    const int number = m_pageBox->text().section(u' ', 0, 0).toInt(&ok);
    if (ok && number > pageCount())
        finishLayout();
    if (ok)
        showPage(number - 1);
    else
        updatePageControls();
}

void ReportViewer::refresh()
{
    if (!m_report)
        return;
    m_report->discardSavedData();
    const Status read = viewReport();
    if (read)
        return;
    m_prompter.inform(
        u"The report could not be read again.\n\n%1\n\nRefresh once the catalogue can be read."_s.arg(
            read.error().text()),
        m_report->definition().caption);
    emit refreshFailed(read.error().text());
}

} // namespace shelvio::reports
