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

ReportLayout::ReportLayout(const ReportDefinition& definition, const std::vector<Book>& books,
                           const LayoutOptions& options)
    : m_definition(definition)
    , m_books(books)
    , m_options(options)
    , m_printedOn(options.locale.toString(options.printDate, QLocale::LongFormat))
    , m_page(pageGeometry(options.pageSize))
{
    const Flow::Columns columns = columnsOf(definition.detail);
    m_bands = std::make_unique<BandBuilder>(definition, m_measure, options.locale, m_page,
                                            Flow::columnWidth(m_page, columns));
    m_document.title = definition.caption;
    m_document.pageSize = m_page.size;
    m_document.bookCount = qint64(books.size());
    m_groupKeys.resize(size_t(definition.groupLevels()));
    m_flow = std::make_unique<Flow>(m_document, m_page, columns,
                                    [this](Flow& flow, bool firstPage) { startPage(flow, firstPage); });
}

ReportLayout::~ReportLayout() = default;

void ReportLayout::startPage(Flow& flow, bool firstPage)
{
    if (firstPage)
        flow.placeHeading(m_bands->reportHeader(m_printedOn));
    flow.placeHeading(m_bands->pageHeader(firstPage));
    auto& items = m_document.pages.back().items;
    for (PageItem& item : m_bands->pageFooter(m_printedOn))
        items.push_back(std::move(item));
}

void ReportLayout::placeBook(size_t index)
{
    const Book& book = m_books[index];
    const int levels = m_definition.groupLevels();
    int changed = levels;
    std::vector<GroupKey> keys;
    for (int level = 0; level < levels; ++level) {
        keys.push_back(groupKey(m_definition.grouping, level, book));
        if (changed == levels && (index == 0 || keys.back().key != m_groupKeys[size_t(level)]))
            changed = level;
    }
    const Block detail = m_bands->detail(book);
    if (changed < levels) {
        if (index > 0) {
            if (m_definition.pageBreakPerGroup && changed == 0)
                m_flow->breakPage();
            else
                m_flow->addSpace(groupGap);
        }
        // Each heading keeps the headings below it and the first detail (or
        // as much of a long entry as the flow would split off) on its page.
        std::vector<Block> headers;
        const double width =
            m_definition.detail == DetailStyle::FullEntryDown ? m_flow->columnWidth() : m_page.contentWidth();
        for (int level = changed; level < levels; ++level)
            headers.push_back(m_bands->groupHeader(level, keys[size_t(level)].heading, width));
        double keep = std::min(detail.height(), m_flow->splitHeight());
        for (const Block& header : headers)
            keep += header.height();
        for (int level = changed; level < levels; ++level) {
            const Block& header = headers[size_t(level - changed)];
            keep -= header.height();
            m_groupKeys[size_t(level)] = keys[size_t(level)].key;
            if (header.isEmpty())
                continue;
            const auto [page, y] = m_flow->placeBlock(header, keep);
            m_document.groups.push_back({level, keys[size_t(level)].heading, page, y});
        }
    }
    m_flow->placeDetail(detail);
}

bool ReportLayout::layoutSome(int books)
{
    if (m_document.complete)
        return false;
    for (int i = 0; i < books && m_next < m_books.size(); ++i)
        placeBook(m_next++);
    if (m_next == m_books.size())
        finish();
    return !m_document.complete;
}

void ReportLayout::layoutAll()
{
    while (layoutSome(1000)) {
    }
}

void ReportLayout::finish()
{
    m_flow->placeBlock(m_bands->reportFooter(qint64(m_books.size())));
    const int count = int(m_document.pages.size());
    for (int i = 0; i < count; ++i) {
        for (PageItem& item : m_document.pages[size_t(i)].items) {
            if (item.kind == PageItem::Kind::PageNumber)
                item.text = pageNumberText(i + 1, count);
        }
    }
    m_document.complete = true;
}

int ReportLayout::finishedPages() const
{
    const int count = int(m_document.pages.size());
    return m_document.complete ? count : count - 1;
}

ReportDocument ReportLayout::takeDocument()
{
    return std::move(m_document);
}

ReportDocument layoutReport(const ReportDefinition& definition, const std::vector<Book>& books,
                            const LayoutOptions& options)
{
    ReportLayout layout(definition, books, options);
    layout.layoutAll();
    return layout.takeDocument();
}

} // namespace shelvio::reports
