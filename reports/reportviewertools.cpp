// The viewer's zoom, find, group tree, printing and export.
#include "reportviewer.h"

#include "pageview.h"
#include "prompter.h"
#include "reportpainter.h"
#include "windowlook.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

double pixelsPerPoint(const QWidget* widget)
{
    return widget->logicalDpiX() / 72.0;
}

} // namespace

void ReportViewer::setZoom(ZoomMode mode, int percent)
{
    m_zoomMode = mode;
    m_percent = std::clamp(percent, zoomSteps.front(), zoomSteps.back());
    if (mode == ZoomMode::FitPage || mode == ZoomMode::FitWidth) {
        m_zoomBox->setCurrentIndex(mode == ZoomMode::FitPage ? 0 : 1);
    } else {
        const int index = m_zoomBox->findData(m_percent);
        m_zoomBox->setCurrentIndex(index);
    }
    applyZoom();
}

void ReportViewer::applyZoom()
{
    const QSizeF page = document().pageSize().isEmpty() ? QSizeF(595, 842) : document().pageSize();
    const QSize room = m_scroll->viewport()->size() - QSize(PageView::desk * 2, PageView::desk * 2);
    const double scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
    double scale = m_percent / 100.0 * pixelsPerPoint(this);
    if (m_zoomMode == ZoomMode::FitWidth)
        scale = std::max(0.05, (room.width() - scrollBar) / page.width());
    else if (m_zoomMode == ZoomMode::FitPage)
        scale = std::max(0.05, std::min(room.width() / page.width(), room.height() / page.height()));
    m_view->setScale(scale);
}

int ReportViewer::zoomPercent() const
{
    return int(std::lround(m_view->scale() / pixelsPerPoint(this) * 100));
}

void ReportViewer::zoomIn()
{
    const int now = zoomPercent();
    for (int step : zoomSteps) {
        if (step > now) {
            setZoom(ZoomMode::Percent, step);
            return;
        }
    }
    setZoom(ZoomMode::Percent, zoomSteps.back());
}

void ReportViewer::zoomOut()
{
    const int now = zoomPercent();
    for (auto step = zoomSteps.rbegin(); step != zoomSteps.rend(); ++step) {
        if (*step < now) {
            setZoom(ZoomMode::Percent, *step);
            return;
        }
    }
    setZoom(ZoomMode::Percent, zoomSteps.front());
}

void ReportViewer::zoomBoxChosen(int index)
{
    if (index == 0)
        setZoom(ZoomMode::FitPage);
    else if (index == 1)
        setZoom(ZoomMode::FitWidth);
    else
        setZoom(ZoomMode::Percent, m_zoomBox->itemData(index).toInt());
}

bool ReportViewer::eventFilter(QObject* watched, QEvent* event)
{
    // The fitting zooms follow the page area's size, whatever changed it.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoomMode != ZoomMode::Percent)
        applyZoom();
    return QWidget::eventFilter(watched, event);
}

bool ReportViewer::findNext(const QString& text)
{
    if (text.isEmpty())
        return false;
    finishLayout();
    const int count = pageCount();
    if (count == 0) {
        m_status->setText(u"There is no page to search."_s);
        return false;
    }
    const bool again = text.compare(m_lastFind, Qt::CaseInsensitive) == 0;
    m_lastFind = text;
    m_view->setHighlight(text);
    BusyCursor busy; // every page is made again to be searched
    const ReportDocument pages = document();
    for (int step = again ? 1 : 0; step <= count; ++step) {
        const int page = (m_page + step) % count;
        for (const QString& line : pages.page(page).texts()) {
            if (line.contains(text, Qt::CaseInsensitive)) {
                showPage(page);
                m_status->clear();
                return true;
            }
        }
    }
    m_status->setText(u"\"%1\" was not found."_s.arg(text));
    return false;
}

void ReportViewer::findFromBox()
{
    findNext(m_findBox->text());
}

void ReportViewer::addGroupMarks()
{
    const auto& marks = document().groups();
    QTreeWidgetItem* parent = m_groupTree->topLevelItemCount() > 0
                                  ? m_groupTree->topLevelItem(m_groupTree->topLevelItemCount() - 1)
                                  : nullptr;
    for (; m_marksShown < marks.size(); ++m_marksShown) {
        const GroupMark& mark = marks[m_marksShown];
        auto* item = new QTreeWidgetItem({mark.heading});
        item->setData(0, Qt::UserRole, qulonglong(m_marksShown));
        if (mark.level == 0 || !parent) {
            m_groupTree->addTopLevelItem(item);
            parent = item;
        } else {
            parent->addChild(item);
        }
    }
}

void ReportViewer::groupChosen(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const size_t index = item->data(0, Qt::UserRole).toULongLong();
    if (index >= document().groups().size())
        return;
    const GroupMark& mark = document().groups()[index];
    showPage(mark.page);
    m_scroll->verticalScrollBar()->setValue(int(mark.y * m_view->scale()));
}

bool ReportViewer::print(QPrinter* printer)
{
    finishLayout();
    return pageCount() > 0 && printDocument(document(), printer);
}

Status ReportViewer::exportPdf(const QString& path)
{
    finishLayout();
    if (pageCount() == 0)
        return Error::failed(u"The report has no pages to export."_s);
    return reports::exportPdf(document(), path);
}

void ReportViewer::printWithDialog()
{
    // The action is disabled without pages; a shortcut pressed while a
    // refresh fails must not open a dialog to print nothing either.
    finishLayout();
    if (pageCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document().title());
    printer.setPageSize(QPageSize(document().pageSize(), QPageSize::Point));
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!print(&printer))
        m_prompter.inform(u"The report could not be printed."_s, document().title());
}

void ReportViewer::exportWithDialog()
{
    finishLayout();
    if (pageCount() == 0)
        return;
    QString path = QFileDialog::getSaveFileName(this, u"Export to PDF"_s, document().title() + u".pdf"_s,
                                                u"PDF files (*.pdf)"_s);
    if (path.isEmpty())
        return;
    if (!path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        path += u".pdf"_s;
    if (Status written = exportPdf(path); !written)
        m_prompter.inform(written.error().text(), document().title());
}

} // namespace shelvio::reports
