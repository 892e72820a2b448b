#include "reportflow.h"

namespace shelvio::reports {

namespace {

constexpr double columnGutter = 18;
constexpr double rowGap = 2;
// The share of a column that must be free for a block to be split there.
constexpr double splitRoom = 0.25;

} // namespace

Flow::Flow(ReportDocument& document, const PageGeometry& page, Columns columns, PageStart pageStart)
    : m_document(document)
    , m_page(page)
    , m_columns(columns)
    , m_pageStart(std::move(pageStart))
{
    newPage();
}

double Flow::columnWidth(const PageGeometry& page, Columns columns)
{
    if (columns == Columns::One)
        return page.contentWidth();
    return (page.contentWidth() - columnGutter) / 2;
}

double Flow::columnLeft(int column) const
{
    return m_page.contentLeft() + column * (columnWidth() + columnGutter);
}

void Flow::newPage()
{
    m_document.pages.emplace_back();
    m_y = m_page.marginTop;
    m_column = 0;
    m_rowOpen = false;
    m_startingPage = true;
    m_columnTop = m_y;
    if (m_pageStart)
        m_pageStart(*this, m_document.pages.size() == 1);
    m_startingPage = false;
    m_columnTop = m_y;
}

void Flow::placeHeading(const Block& block)
{
    Q_ASSERT(m_startingPage);
    for (const BlockLine& line : block.lines) {
        putLine(line, m_page.contentLeft(), m_y);
        m_y += line.height;
    }
}

void Flow::putLine(const BlockLine& line, double x, double y)
{
    auto& items = m_document.pages.back().items;
    for (const PageItem& item : line.items) {
        items.push_back(item);
        items.back().rect.translate(x, y);
    }
}

void Flow::advanceColumn()
{
    if (m_columns == Columns::Down && m_column == 0) {
        m_column = 1;
        m_y = m_columnTop;
        return;
    }
    newPage();
}

bool Flow::placeLines(const Block& block, double x, int* column)
{
    bool split = false;
    for (const BlockLine& line : block.lines) {
        if (m_y + line.height > m_page.bodyBottom() && !atColumnTop()) {
            advanceColumn();
            split = true;
            if (column)
                x = columnLeft(*column = m_column);
        }
        putLine(line, x, m_y);
        m_y += line.height;
    }
    return split;
}

void Flow::endRow()
{
    if (!m_rowOpen)
        return;
    m_rowOpen = false;
    m_y = m_rowBottom + rowGap;
}

std::pair<int, double> Flow::placeBlock(const Block& block, double keep)
{
    endRow();
    if (m_y + block.height() + keep > m_page.bodyBottom() && !atColumnTop())
        advanceColumn();
    const std::pair<int, double> start{pageCount() - 1, m_y};
    const bool across = m_columns == Columns::Across;
    int column = m_column;
    placeLines(block, across ? m_page.contentLeft() : columnLeft(m_column), across ? nullptr : &column);
    return start;
}

bool Flow::shouldMove(double height) const
{
    // A block that does not fit goes to the next column or page, unless a
    // good part of this one is still free: then it is split, so that long
    // entries do not leave half pages empty.
    const double room = m_page.bodyBottom() - m_y;
    return height > room && !atColumnTop() && room < splitHeight();
}

double Flow::splitHeight() const
{
    return splitRoom * bodyHeight();
}

void Flow::placeDetail(const Block& block)
{
    const double height = block.height();
    if (m_columns != Columns::Across) {
        endRow();
        if (shouldMove(height))
            advanceColumn();
        int column = m_column;
        placeLines(block, columnLeft(m_column), &column);
        return;
    }
    if (m_rowOpen) {
        const double room = m_page.bodyBottom() - m_rowTop;
        if (height <= room || room >= splitHeight()) {
            m_y = m_rowTop;
            const int pageBefore = pageCount();
            placeLines(block, columnLeft(1));
            m_rowBottom = pageCount() != pageBefore ? m_y : std::max(m_rowBottom, m_y);
            endRow();
            return;
        }
        // The right cell does not fit beside the left one: it opens the next
        // page's first row instead.
        endRow();
        newPage();
    }
    if (shouldMove(height))
        newPage();
    m_rowTop = m_y;
    const int pageBefore = pageCount();
    placeLines(block, columnLeft(0));
    m_rowBottom = m_y;
    m_rowOpen = true;
    if (pageCount() != pageBefore)
        endRow(); // split over a page: the next entry starts a row of its own
    else
        m_y = m_rowTop;
}

void Flow::breakPage()
{
    endRow();
    if (!atColumnTop() || m_column != 0)
        newPage();
}

void Flow::addSpace(double height)
{
    endRow();
    if (!atColumnTop())
        m_y = std::min(m_y + height, m_page.bodyBottom());
}

} // namespace shelvio::reports
