#pragma once

#include "reportbands.h"
#include "reportpage.h"
#include "reportstyle.h"

#include <functional>

namespace shelvio::reports {

// Where the flow stands: enough to go on placing blocks from there, as a
// page is laid out again when it is painted.
struct FlowState {
    int page = -1; // 0-based; -1 before the first page
    double columnTop = 0;
    double y = 0;
    int column = 0;
    bool rowOpen = false;
    double rowTop = 0;
    double rowBottom = 0;
};

// Places blocks on pages, top to bottom, starting a page when one is full.
// Details run in one column, or in two: filled across (entries side by
// side, row by row) or down (the left column to the foot of the page, then
// the right one). The flow keeps no pages: it hands the items of one page,
// the one asked for, to a list, and only counts the others.
class Flow {
public:
    enum class Columns { One, Across, Down };
    // Called on every new page to place what heads it (report and page
    // headers) with placeHeading().
    using PageStart = std::function<void(Flow& flow, bool firstPage)>;

    Flow(const PageGeometry& page, Columns columns, PageStart pageStart);

    // Starts the first page, or goes on from a state the flow was in.
    void begin();
    void resume(const FlowState& state);
    FlowState state() const;
    // The items of page `index` go to `items`; those of other pages nowhere.
    void collectPage(int index, std::vector<PageItem>* items);

    static double columnWidth(const PageGeometry& page, Columns columns);
    double columnWidth() const { return columnWidth(m_page, m_columns); }

    // A full-width block at the top of the page, before any column.
    void placeHeading(const Block& block);

    // A group header or other block that belongs in the flow of details: in
    // the current column (one column, down) or across the page (across).
    // `keep` is the height that must fit below it on the same page, so that a
    // heading never stands alone at the foot of a page. Returns the page and
    // position where it starts.
    std::pair<int, double> placeBlock(const Block& block, double keep = 0);
    // A detail: a cell of the current row when running across.
    void placeDetail(const Block& block);

    // Starts a new page unless the current one holds no details yet.
    void breakPage();
    void addSpace(double height);

    int pageCount() const { return m_state.page + 1; }
    int currentPage() const { return m_state.page; }
    // Items that stand at fixed places on the page being started.
    void placeFixed(std::vector<PageItem> items);
    double bodyHeight() const { return m_page.bodyBottom() - m_state.columnTop; }
    // The free height from which on a detail that does not fit is split
    // rather than moved to the next column or page.
    double splitHeight() const;

private:
    void newPage();
    void advanceColumn();
    bool atColumnTop() const { return m_state.y <= m_state.columnTop; }
    bool shouldMove(double height) const;
    double columnLeft(int column) const;
    // Places the lines at the column's left from m_y on, moving on where a line
    // does not fit; returns whether the block had to be split.
    bool placeLines(const Block& block, double x, int* column = nullptr);
    void putLine(const BlockLine& line, double x, double y);
    void endRow();

    bool collecting() const { return m_items && m_state.page == m_wantedPage; }

    PageGeometry m_page;
    Columns m_columns;
    PageStart m_pageStart;
    bool m_startingPage = false;
    // Running across, the state holds the open row's top and bottom, and
    // whether its left cell is taken.
    FlowState m_state;
    int m_wantedPage = -1;
    std::vector<PageItem>* m_items = nullptr;
};

} // namespace shelvio::reports
