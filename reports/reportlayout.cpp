#include "reportlayout.h"

#include "reportbands.h"
#include "reportflow.h"
#include "reportvalues.h"

namespace shelvio::reports {

namespace {

Flow::Columns columnsOf(DetailStyle style)
{
    switch (style) {
    case DetailStyle::List:
        return Flow::Columns::One;
    case DetailStyle::FullEntryAcross:
        return Flow::Columns::Across;
    case DetailStyle::FullEntryDown:
        return Flow::Columns::Down;
    }
    return Flow::Columns::One;
}

constexpr double groupGap = 6;

} // namespace

LayoutOptions defaultLayoutOptions()
{
    const QLocale locale;
    return {defaultPageSize(locale), locale, QDate::currentDate()};
}

// Places books one after another with a flow of its own: for the layout
// itself, which keeps the group marks, or to make one page again.
class ReportLayout::Placer {
public:
    explicit Placer(const ReportLayout& layout)
        : flow(layout.m_page, columnsOf(layout.m_definition.detail),
               [&layout](Flow& flow, bool firstPage) { layout.startPage(flow, firstPage); })
        , m_layout(layout)
        , m_groupKeys(size_t(layout.m_definition.groupLevels()))
    {
    }

    // Goes on from the state before `book`, as the layout stood there.
    void resume(const FlowState& before, qsizetype book)
    {
        if (before.page < 0) {
            flow.begin();
            return;
        }
        flow.resume(before);
        if (book == 0)
            return;
        const Book previous = m_layout.m_rows->book(book - 1);
        for (size_t level = 0; level < m_groupKeys.size(); ++level)
            m_groupKeys[level] = groupKey(m_layout.m_definition.grouping, int(level), previous).key;
    }

    void placeBook(qsizetype index, std::vector<GroupMark>* marks);
    void placeFooter() { flow.placeBlock(m_layout.m_bands->reportFooter(m_layout.bookCount())); }

    Flow flow;

private:
    const ReportLayout& m_layout;
    std::vector<QString> m_groupKeys;
};

void ReportLayout::Placer::placeBook(qsizetype index, std::vector<GroupMark>* marks)
{
    const ReportDefinition& definition = m_layout.m_definition;
    const Book book = m_layout.m_rows->book(index);
    const int levels = definition.groupLevels();
    int changed = levels;
    std::vector<GroupKey> keys;
    for (int level = 0; level < levels; ++level) {
        keys.push_back(groupKey(definition.grouping, level, book));
        if (changed == levels && (index == 0 || keys.back().key != m_groupKeys[size_t(level)]))
            changed = level;
    }
    const Block detail = m_layout.m_bands->detail(book);
    if (changed < levels) {
        if (index > 0) {
            if (definition.pageBreakPerGroup && changed == 0)
                flow.breakPage();
            else
                flow.addSpace(groupGap);
        }
        // Each heading keeps the headings below it and the first detail (or
        // as much of a long entry as the flow would split off) on its page.
        std::vector<Block> headers;
        const double width = definition.detail == DetailStyle::FullEntryDown ? flow.columnWidth()
                                                                             : m_layout.m_page.contentWidth();
        for (int level = changed; level < levels; ++level)
            headers.push_back(m_layout.m_bands->groupHeader(level, keys[size_t(level)].heading, width));
        double keep = std::min(detail.height(), flow.splitHeight());
        for (const Block& header : headers)
            keep += header.height();
        for (int level = changed; level < levels; ++level) {
            const Block& header = headers[size_t(level - changed)];
            keep -= header.height();
            m_groupKeys[size_t(level)] = keys[size_t(level)].key;
            if (header.isEmpty())
                continue;
            const auto [page, y] = flow.placeBlock(header, keep);
            if (marks)
                marks->push_back({level, keys[size_t(level)].heading, page, y});
        }
    }
    flow.placeDetail(detail);
}

ReportLayout::ReportLayout(const ReportDefinition& definition, std::shared_ptr<const ReportRows> rows,
                           const LayoutOptions& options)
    : m_definition(definition)
    , m_rows(std::move(rows))
    , m_options(options)
    , m_printedOn(options.locale.toString(options.printDate, QLocale::LongFormat))
    , m_page(pageGeometry(options.pageSize))
{
    const Flow::Columns columns = columnsOf(definition.detail);
    m_bands = std::make_unique<BandBuilder>(definition, m_measure, options.locale, m_page,
                                            Flow::columnWidth(m_page, columns));
    m_groups.reserve(64);
    m_placer = std::make_unique<Placer>(*this);
    m_placer->flow.begin();
    m_pages.push_back({0, FlowState()});
}

ReportLayout::~ReportLayout() = default;

void ReportLayout::startPage(Flow& flow, bool firstPage) const
{
    if (firstPage)
        flow.placeHeading(m_bands->reportHeader(m_printedOn));
    flow.placeHeading(m_bands->pageHeader(firstPage));
    flow.placeFixed(m_bands->pageFooter(m_printedOn));
}

void ReportLayout::recordPages(qint32 book, const FlowState& before, int pagesBefore)
{
    for (int page = pagesBefore; page < m_placer->flow.pageCount(); ++page)
        m_pages.push_back({book, before});
}

bool ReportLayout::layoutSome(int books)
{
    if (m_complete)
        return false;
    Flow& flow = m_placer->flow;
    for (int i = 0; i < books && m_next < m_rows->size(); ++i, ++m_next) {
        const FlowState before = flow.state();
        const int pagesBefore = flow.pageCount();
        m_placer->placeBook(m_next, &m_groups);
        recordPages(qint32(m_next), before, pagesBefore);
    }
    if (m_next == m_rows->size())
        finish();
    return !m_complete;
}

void ReportLayout::layoutAll()
{
    while (layoutSome(1000)) {
    }
}

void ReportLayout::finish()
{
    const FlowState before = m_placer->flow.state();
    const int pagesBefore = m_placer->flow.pageCount();
    m_placer->placeFooter();
    recordPages(qint32(m_rows->size()), before, pagesBefore);
    m_placer.reset();
    m_complete = true;
}

int ReportLayout::finishedPages() const
{
    const int count = pageCount();
    return m_complete ? count : count - 1;
}

ReportPage ReportLayout::page(int index) const
{
    ReportPage page;
    if (index < 0 || index >= pageCount())
        return page;
    const PageRecord& record = m_pages[size_t(index)];
    Placer placer(*this);
    placer.flow.collectPage(index, &page.items);
    placer.resume(record.before, record.book);
    qsizetype book = record.book;
    for (; book < m_rows->size() && placer.flow.currentPage() <= index; ++book)
        placer.placeBook(book, nullptr);
    if (book == m_rows->size() && placer.flow.currentPage() <= index)
        placer.placeFooter();
    for (PageItem& item : page.items) {
        if (item.kind == PageItem::Kind::PageNumber && m_complete)
            item.text = pageNumberText(index + 1, pageCount());
    }
    return page;
}

ReportDocument layoutReport(const ReportDefinition& definition, std::shared_ptr<const ReportRows> rows,
                            const LayoutOptions& options)
{
    auto layout = std::make_shared<ReportLayout>(definition, std::move(rows), options);
    layout->layoutAll();
    return ReportDocument(std::move(layout));
}

} // namespace shelvio::reports

namespace shelvio::reports {

ReportDocument::ReportDocument(std::shared_ptr<const ReportLayout> layout)
    : m_layout(std::move(layout))
{
}

QString ReportDocument::title() const
{
    return m_layout ? m_layout->definition().caption : QString();
}

QSizeF ReportDocument::pageSize() const
{
    return m_layout ? m_layout->pageSize() : QSizeF();
}

int ReportDocument::pageCount() const
{
    return m_layout ? m_layout->finishedPages() : 0;
}

ReportPage ReportDocument::page(int index) const
{
    return m_layout && index < pageCount() ? m_layout->page(index) : ReportPage();
}

const std::vector<GroupMark>& ReportDocument::groups() const
{
    static const std::vector<GroupMark> none;
    return m_layout ? m_layout->groups() : none;
}

qint64 ReportDocument::bookCount() const
{
    return m_layout ? m_layout->bookCount() : 0;
}

bool ReportDocument::isComplete() const
{
    return m_layout && m_layout->isComplete();
}

} // namespace shelvio::reports
