#include "pageview.h"

#include "reportpainter.h"

#include <QPainter>

namespace shelvio::reports {

PageView::PageView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette desk = palette();
    desk.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(desk);
}

void PageView::setDocument(const ReportDocument& document)
{
    m_document = document;
    m_page = 0;
    updateGeometry();
    adjustSize();
    update();
}

void PageView::setPage(int index)
{
    m_page = index;
    update();
}

void PageView::setScale(double pixelsPerPoint)
{
    m_scale = pixelsPerPoint;
    updateGeometry();
    adjustSize();
    update();
}

void PageView::setHighlight(const QString& text)
{
    m_highlight = text;
    update();
}

QSize PageView::sizeHint() const
{
    if (m_document.pageSize().isEmpty())
        return {desk * 2, desk * 2};
    const QSizeF page = m_document.pageSize() * m_scale;
    return {int(std::ceil(page.width())) + desk * 2, int(std::ceil(page.height())) + desk * 2};
}

void PageView::paintEvent(QPaintEvent*)
{
    if (m_document.isEmpty())
        return;
    QPainter painter(this);
    const QSizeF page = m_document.pageSize() * m_scale;
    painter.fillRect(QRectF(QPointF(desk + 4, desk + 4), page), QColor(0x50, 0x50, 0x50));
    painter.translate(desk, desk);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(m_scale, m_scale);
    paintPage(painter, m_document, m_page, m_highlight);
}

} // namespace shelvio::reports
