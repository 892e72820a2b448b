#include "reportpainter.h"

#include "reportstyle.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

constexpr int pdfResolution = 600;

const QColor flagGround(0xFF, 0xFD, 0xE8);
const QColor highlightColour(0xFF, 0xE8, 0x60);

using Fonts = std::array<QFont, size_t(FontRole::Small) + 1>;

void paintText(QPainter& painter, const PageItem& item, const QString& text, const Fonts& fonts)
{
    painter.setFont(fonts[size_t(item.font)]);
    painter.drawText(item.rect, int(item.align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
}

// Pages of the document in the range a printer asks for, 0-based.
std::pair<int, int> printRange(const ReportDocument& document, const QPrinter& printer)
{
    const int last = document.pageCount() - 1;
    if (printer.printRange() != QPrinter::PageRange || printer.fromPage() <= 0)
        return {0, last};
    return {std::min(printer.fromPage() - 1, last), std::min(printer.toPage() - 1, last)};
}

} // namespace

void paintFlagPicture(QPainter& painter, const QRectF& rect, bool ticked)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = rect.width() / 20.0; // drawn on a 20 by 20 grid
    const QRectF box = rect.adjusted(unit, unit, -unit, -unit);
    painter.setPen(QPen(Qt::black, 1.2 * unit, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(flagGround);
    painter.drawRect(box);
    if (ticked) {
        QPainterPath tick;
        tick.moveTo(rect.left() + 4.5 * unit, rect.top() + 10.5 * unit);
        tick.lineTo(rect.left() + 8.5 * unit, rect.top() + 14.5 * unit);
        tick.lineTo(rect.left() + 15.5 * unit, rect.top() + 5.5 * unit);
        painter.setPen(QPen(Qt::black, 2.4 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    }
    painter.restore();
}

void paintPage(QPainter& painter, const ReportDocument& document, int pageIndex, const QString& highlight)
{
    if (pageIndex < 0 || pageIndex >= document.pageCount())
        return;
    Fonts fonts;
    for (size_t i = 0; i < fonts.size(); ++i)
        fonts[i] = reportFont(FontRole(i));
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), document.pageSize()), Qt::white);
    painter.setPen(Qt::black);
    const ReportPage page = document.page(pageIndex);
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text:
            if (!highlight.isEmpty() && item.text.contains(highlight, Qt::CaseInsensitive))
                painter.fillRect(item.rect, highlightColour);
            paintText(painter, item, item.text, fonts);
            break;
        case PageItem::Kind::PageNumber:
            paintText(painter, item, item.text.isEmpty() ? pageNumberText(pageIndex + 1, 0) : item.text,
                      fonts);
            break;
        case PageItem::Kind::Rule:
            painter.fillRect(item.rect, Qt::black);
            break;
        case PageItem::Kind::FlagTicked:
        case PageItem::Kind::FlagEmpty:
            paintFlagPicture(painter, item.rect, item.kind == PageItem::Kind::FlagTicked);
            break;
        }
    }
    painter.restore();
}

Status exportPdf(const ReportDocument& document, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(pdfResolution);
    writer.setTitle(document.title());
    writer.setCreator(u"Tomarium Reports"_s);
    writer.setPageLayout(QPageLayout(QPageSize(document.pageSize(), QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return Error::failed(u"The file %1 cannot be written."_s.arg(path));
    const double scale = pdfResolution / 72.0;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, document, i);
        painter.restore();
    }
    painter.end();
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() == 0)
        return Error::failed(u"The file %1 could not be written in full."_s.arg(path));
    return {};
}

bool printDocument(const ReportDocument& document, QPrinter* printer)
{
    QPainter painter;
    if (document.isEmpty() || !painter.begin(printer))
        return false;
    const QRectF paper = printer->pageLayout().paintRectPixels(printer->resolution());
    const double scale =
        std::min(paper.width() / document.pageSize().width(), paper.height() / document.pageSize().height());
    const auto [first, last] = printRange(document, *printer);
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer->newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, document, i);
        painter.restore();
    }
    return painter.end();
}

} // namespace shelvio::reports
