#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

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

struct ReportDocument {
    QString title;
    QSizeF pageSize; // points
    std::vector<ReportPage> pages;
    std::vector<GroupMark> groups;
    qint64 bookCount = 0;
    bool complete = false; // all pages laid out and numbered
};

// "Page 3 of 12"; while the count is not known yet, "Page 3".
QString pageNumberText(int number, int count);

} // namespace shelvio::reports
