#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The laid-out report: pages of positioned items in points (1/72 inch) from
// the page's top left corner. One painter draws them on the screen, on a
// printer and into a PDF.
namespace shelvio::reports {

// The type faces of a report, by what they set.
enum class FontRole : quint8 {
    ReportTitle,
    PageTitle,
    Heading, // column headings and field labels
    Group1,
    Group2,
    Detail,
    DetailBold,
    Small,
};

struct PageItem {
    enum class Kind : quint8 {
        Text,
        Rule,       // a line along the top edge of rect, rect.height() thick
        FlagTicked, // the ticked box picture
        FlagEmpty,  // the empty box picture
        PageNumber, // "Page N of M"; its text is filled in once M is known
    };
    Kind kind = Kind::Text;
    FontRole font = FontRole::Detail;
    Qt::Alignment align = Qt::AlignLeft;
    QRectF rect;
    QString text;
};

struct ReportPage {
    std::vector<PageItem> items;

    // The page's texts in the order they were laid out, for searching and tests.
    QStringList texts() const;
};

// A group heading and where it stands, for jumping to it.
struct GroupMark {
    int level = 0; // 0 for the outer level
    QString heading;
    int page = 0; // 0-based
    double y = 0;
};

class ReportLayout;

// A laid-out report as the viewer, the printer and a PDF file see it: its
// pages are kept as small records, each made again into items when it is
// asked for. The document shares the layout, and with it the report's rows,
// so it can outlive the report it came from; an empty document has no pages.
class ReportDocument {
public:
    ReportDocument() = default;
    explicit ReportDocument(std::shared_ptr<const ReportLayout> layout);

    QString title() const;
    QSizeF pageSize() const; // points
    int pageCount() const;   // pages laid out so far
    bool isEmpty() const { return pageCount() == 0; }
    // The page's items, with "Page N of M" once the count is known.
    ReportPage page(int index) const;
    const std::vector<GroupMark>& groups() const;
    qint64 bookCount() const;
    bool isComplete() const; // all pages laid out and numbered

private:
    std::shared_ptr<const ReportLayout> m_layout;
};

// "Page 3 of 12"; while the count is not known yet, "Page 3".
QString pageNumberText(int number, int count);

} // namespace shelvio::reports
