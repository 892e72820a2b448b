#include "reportflow.h"

namespace shelvio::reports {

namespace {

constexpr double columnGutter = 18;
constexpr double rowGap = 2;
// The share of a column that must be free for a block to be split there.
constexpr double splitRoom = 0.25;

} // namespace

Flow::Flow(const PageGeometry& page, Columns columns, PageStart pageStart)
    : m_page(page)
    , m_columns(columns)
    , m_pageStart(std::move(pageStart))
{
}

void Flow::begin()
{
    m_state = FlowState();
    newPage();
}

void Flow::resume(const FlowState& state)
{
    m_state = state;
}

FlowState Flow::state() const
{
    return m_state;
}

void Flow::collectPage(int index, std::vector<PageItem>* items)
{
    m_wantedPage = index;
    m_items = items;
}

void Flow::placeFixed(std::vector<PageItem> items)
{
    if (!collecting())
        return;
    for (PageItem& item : items)
        m_items->push_back(std::move(item));
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
    ++m_state.page;
    m_state.y = m_page.marginTop;
    m_state.column = 0;
    m_state.rowOpen = false;
    m_startingPage = true;
    m_state.columnTop = m_state.y;
    if (m_pageStart)
        m_pageStart(*this, m_state.page == 0);
    m_startingPage = false;
    m_state.columnTop = m_state.y;
}

void Flow::placeHeading(const Block& block)
{
    Q_ASSERT(m_startingPage);
    for (const BlockLine& line : block.lines) {
        putLine(line, m_page.contentLeft(), m_state.y);
        m_state.y += line.height;
    }
}

void Flow::putLine(const BlockLine& line, double x, double y)
{
    if (!collecting())
        return;
    for (const PageItem& item : line.items) {
        m_items->push_back(item);
        m_items->back().rect.translate(x, y);
    }
}

void Flow::advanceColumn()
{
    if (m_columns == Columns::Down && m_state.column == 0) {
        m_state.column = 1;
        m_state.y = m_state.columnTop;
        return;
    }
    newPage();
}

bool Flow::placeLines(const Block& block, double x, int* column)
{
    bool split = false;
    for (const BlockLine& line : block.lines) {
        if (m_state.y + line.height > m_page.bodyBottom() && !atColumnTop()) {
            advanceColumn();
            split = true;
            if (column)
                x = columnLeft(*column = m_state.column);
        }
        putLine(line, x, m_state.y);
        m_state.y += line.height;
    }
    return split;
}

void Flow::endRow()
{
    if (!m_state.rowOpen)
        return;
    m_state.rowOpen = false;
    m_state.y = m_state.rowBottom + rowGap;
}

std::pair<int, double> Flow::placeBlock(const Block& block, double keep)
{
    endRow();
    if (m_state.y + block.height() + keep > m_page.bodyBottom() && !atColumnTop())
        advanceColumn();
    const std::pair<int, double> start{pageCount() - 1, m_state.y};
    const bool across = m_columns == Columns::Across;
    int column = m_state.column;
    placeLines(block, across ? m_page.contentLeft() : columnLeft(m_state.column), across ? nullptr : &column);
    return start;
}

bool Flow::shouldMove(double height) const
{
    // A block that does not fit goes to the next column or page, unless a
    // good part of this one is still free: then it is split, so that long
    // entries do not leave half pages empty.
    const double room = m_page.bodyBottom() - m_state.y;
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
        int column = m_state.column;
        placeLines(block, columnLeft(m_state.column), &column);
        return;
    }
    if (m_state.rowOpen) {
        const double room = m_page.bodyBottom() - m_state.rowTop;
        if (height <= room || room >= splitHeight()) {
            m_state.y = m_state.rowTop;
            const int pageBefore = pageCount();
            placeLines(block, columnLeft(1));
            m_state.rowBottom =
                pageCount() != pageBefore ? m_state.y : std::max(m_state.rowBottom, m_state.y);
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
    m_state.rowTop = m_state.y;
    const int pageBefore = pageCount();
    placeLines(block, columnLeft(0));
    m_state.rowBottom = m_state.y;
    m_state.rowOpen = true;
    if (pageCount() != pageBefore)
        endRow(); // split over a page: the next entry starts a row of its own
    else
        m_state.y = m_state.rowTop;
}

void Flow::breakPage()
{
    endRow();
    if (!atColumnTop() || m_state.column != 0)
        newPage();
}

void Flow::addSpace(double height)
{
    endRow();
    if (!atColumnTop())
        m_state.y = std::min(m_state.y + height, m_page.bodyBottom());
}

} // namespace shelvio::reports
