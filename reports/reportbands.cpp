#include "reportbands.h"

#include "reportvalues.h"

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

constexpr double cellGap = 6;
constexpr double ruleWidth = 0.75;

PageItem textItem(FontRole role, const QRectF& rect, const QString& text, Qt::Alignment align = Qt::AlignLeft)
{
    PageItem item;
    item.kind = PageItem::Kind::Text;
    item.font = role;
    item.align = align;
    item.rect = rect;
    item.text = text;
    return item;
}

PageItem ruleItem(double x, double y, double width, double thickness = ruleWidth)
{
    PageItem item;
    item.kind = PageItem::Kind::Rule;
    item.rect = QRectF(x, y, width, thickness);
    return item;
}

PageItem flagItem(bool ticked, double x, double y)
{
    PageItem item;
    item.kind = ticked ? PageItem::Kind::FlagTicked : PageItem::Kind::FlagEmpty;
    item.rect = QRectF(x, y, flagPictureSize, flagPictureSize);
    return item;
}

// How much of the line each column of a list takes.
double columnWeight(Field field)
{
    switch (field) {
    case Field::SortTitle:
        return 40;
    case Field::Author:
        return 26;
    case Field::Year:
        return 7;
    case Field::Pages:
        return 8;
    case Field::Rating:
        return 17;
    case Field::Cost:
        return 11;
    case Field::DateRead:
        return 12;
    case Field::HaveReadPicture:
        return 6;
    }
    return 10;
}

Qt::Alignment columnAlignment(Field field)
{
    switch (field) {
    case Field::Year:
    case Field::Pages:
    case Field::Cost:
        return Qt::AlignRight;
    case Field::HaveReadPicture:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

double Block::height() const
{
    double total = 0;
    for (const BlockLine& line : lines)
        total += line.height;
    return total;
}

BandBuilder::BandBuilder(const ReportDefinition& definition, const TextMeasure& measure,
                         const QLocale& locale, const PageGeometry& page, double columnWidth)
    : m_definition(definition)
    , m_measure(measure)
    , m_locale(locale)
    , m_page(page)
    , m_columnWidth(columnWidth)
{
    m_columns = listColumns();
}

double BandBuilder::detailIndent() const
{
    return m_definition.groupLevels() > 0 && m_definition.detail == DetailStyle::List ? 14 : 0;
}

std::vector<BandBuilder::Column> BandBuilder::listColumns() const
{
    double total = 0;
    for (Field field : m_definition.columns)
        total += columnWeight(field);
    std::vector<Column> columns;
    const double width = m_page.contentWidth() - detailIndent();
    double x = detailIndent();
    for (Field field : m_definition.columns) {
        const double share = width * columnWeight(field) / total;
        columns.push_back({field, x, share - cellGap});
        x += share;
    }
    return columns;
}

Block BandBuilder::reportHeader(const QString& printedOn) const
{
    Block block;
    const double width = m_page.contentWidth();
    const double titleHeight = m_measure.lineHeight(FontRole::ReportTitle);
    block.lines.push_back(
        {titleHeight,
         {textItem(FontRole::ReportTitle, QRectF(0, 0, width, titleHeight), m_definition.caption)}});
    const double small = m_measure.lineHeight(FontRole::Small);
    block.lines.push_back(
        {small + 10, {textItem(FontRole::Small, QRectF(0, 0, width, small), u"Printed on "_s + printedOn)}});
    return block;
}

Block BandBuilder::pageHeader(bool firstPage) const
{
    Block block;
    const double width = m_page.contentWidth();
    if (!firstPage) {
        // The first page has the report header above; later pages name the
        // report here.
        const double h = m_measure.lineHeight(FontRole::PageTitle);
        block.lines.push_back(
            {h + 2, {textItem(FontRole::PageTitle, QRectF(0, 0, width, h), m_definition.caption)}});
    }
    if (m_definition.detail != DetailStyle::List) {
        block.lines.push_back({8, {ruleItem(0, 2, width)}});
        return block;
    }
    const double h = m_measure.lineHeight(FontRole::Heading);
    BlockLine headings{h + 4, {}};
    for (const Column& column : m_columns) {
        headings.items.push_back(textItem(FontRole::Heading, QRectF(column.x, 0, column.width, h),
                                          fieldHeading(column.field), columnAlignment(column.field)));
    }
    headings.items.push_back(ruleItem(0, h + 1, width));
    block.lines.push_back(std::move(headings));
    block.lines.push_back({4, {}});
    return block;
}

Block BandBuilder::groupHeader(int level, const QString& heading, double width) const
{
    Block block;
    if (heading.isEmpty())
        return block;
    // Letters, years and ratings head their groups large; authors, which
    // come many to a page, smaller.
    const bool authorLevel = m_definition.grouping == Grouping::Author ||
                             (m_definition.grouping == Grouping::AuthorLetterThenAuthor && level == 1);
    const FontRole role = authorLevel ? FontRole::Group2 : FontRole::Group1;
    const double h = m_measure.lineHeight(role);
    const double above = role == FontRole::Group1 ? 6 : 3;
    block.lines.push_back({above, {}});
    bool first = true;
    for (const QString& line : m_measure.wrap(role, heading, width)) {
        BlockLine headingLine{h, {textItem(role, QRectF(0, 0, width, h), line)}};
        if (first && role == FontRole::Group1)
            headingLine.items.push_back(ruleItem(0, h, width, 0.5));
        first = false;
        block.lines.push_back(std::move(headingLine));
    }
    block.lines.push_back({3, {}});
    return block;
}

Block BandBuilder::detail(const Book& book) const
{
    return m_definition.detail == DetailStyle::List ? listRow(book) : fullEntry(book);
}

Block BandBuilder::listRow(const Book& book) const
{
    const double h = m_measure.lineHeight(FontRole::Detail);
    BlockLine row;
    row.height = h;
    for (const Column& column : m_columns) {
        if (column.field == Field::HaveReadPicture) {
            const bool ticked = flagValue(m_definition.flagPictures.front(), book);
            row.items.push_back(
                flagItem(ticked, column.x + (column.width - flagPictureSize) / 2, (h - flagPictureSize) / 2));
            continue;
        }
        const QStringList lines =
            m_measure.wrap(FontRole::Detail, fieldText(column.field, book, m_locale), column.width);
        double y = 0;
        for (const QString& line : lines) {
            row.items.push_back(textItem(FontRole::Detail, QRectF(column.x, y, column.width, h), line,
                                         columnAlignment(column.field)));
            y += h;
        }
        row.height = std::max(row.height, y);
    }
    return Block{{std::move(row)}};
}

void BandBuilder::addWrapped(Block& block, FontRole role, const QString& text, double indent,
                             double width) const
{
    const double h = m_measure.lineHeight(role);
    for (const QString& line : m_measure.wrap(role, text, width - indent))
        block.lines.push_back({h, {textItem(role, QRectF(indent, 0, width - indent, h), line)}});
}

void BandBuilder::addLabelledPairs(Block& block, const std::vector<std::pair<QString, QString>>& pairs) const
{
    const double h = m_measure.lineHeight(FontRole::Detail);
    const double half = m_columnWidth / 2;
    const double labelWidth = 52;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        BlockLine line{h, {}};
        for (size_t j = i; j < std::min(i + 2, pairs.size()); ++j) {
            const double x = (j - i) * half;
            line.items.push_back(textItem(FontRole::Heading, QRectF(x, 0, labelWidth, h), pairs[j].first));
            // A pair alone on its line may use the whole width.
            const double valueWidth = (j + 1 < pairs.size() || j > i ? half : m_columnWidth) - labelWidth - 4;
            line.items.push_back(
                textItem(FontRole::Detail, QRectF(x + labelWidth, 0, valueWidth, h), pairs[j].second));
        }
        block.lines.push_back(std::move(line));
    }
}

void BandBuilder::addFlags(Block& block, const Book& book) const
{
    const double h = std::max(m_measure.lineHeight(FontRole::Small), flagPictureSize + 3);
    const double half = m_columnWidth / 2;
    const auto& flags = m_definition.flagPictures;
    for (size_t i = 0; i < flags.size(); i += 2) {
        BlockLine line{h, {}};
        for (size_t j = i; j < std::min(i + 2, flags.size()); ++j) {
            const double x = (j - i) * half;
            line.items.push_back(flagItem(flagValue(flags[j], book), x, (h - flagPictureSize) / 2));
            const double textX = x + flagPictureSize + 4;
            line.items.push_back(
                textItem(FontRole::Small, QRectF(textX, 0, half - (textX - x), h), flagCaption(flags[j])));
        }
        block.lines.push_back(std::move(line));
    }
}

Block BandBuilder::fullEntry(const Book& book) const
{
    Block block;
    const double width = m_columnWidth;
    block.lines.push_back({4, {}});
    addWrapped(block, FontRole::DetailBold, book.sortTitle, 0, width);
    addWrapped(block, FontRole::Detail, authorText(book.author, book.firstName), 0, width);
    block.lines.push_back({3, {}});
    addLabelledPairs(block, {{u"Year"_s, yearText(book.yearPublished)},
                             {u"Pages"_s, pagesText(book.pages, m_locale)},
                             {u"Cost"_s, costText(book.costUnits, m_locale)},
                             {u"Date Read"_s, dateReadText(book.dateRead)},
                             {u"Rating"_s, ratingText(book.rating)}});
    block.lines.push_back({2, {}});
    addFlags(block, book);
    if (m_definition.categorySubreport) {
        const double h = m_measure.lineHeight(FontRole::Heading);
        block.lines.push_back({h, {textItem(FontRole::Heading, QRectF(0, 0, width, h), u"Categories"_s)}});
        addWrapped(block, FontRole::Detail, book.categories.join(u", "_s), 10, width);
    }
    if (!book.comments.trimmed().isEmpty()) {
        const double h = m_measure.lineHeight(FontRole::Heading);
        block.lines.push_back({h, {textItem(FontRole::Heading, QRectF(0, 0, width, h), u"Comments"_s)}});
        addWrapped(block, FontRole::Detail, book.comments, 10, width);
    }
    block.lines.push_back({8, {ruleItem(0, 5, width, 0.4)}});
    return block;
}

Block BandBuilder::reportFooter(qint64 bookCount) const
{
    const double h = m_measure.lineHeight(FontRole::DetailBold);
    const QString text =
        bookCount == 1 ? u"1 book listed."_s : u"%1 books listed."_s.arg(m_locale.toString(bookCount));
    const double width =
        m_definition.detail == DetailStyle::FullEntryDown ? m_columnWidth : m_page.contentWidth();
    Block block;
    block.lines.push_back({8, {}});
    block.lines.push_back(
        {h, {ruleItem(0, 0, width), textItem(FontRole::DetailBold, QRectF(0, 2, width, h), text)}});
    return block;
}

std::vector<PageItem> BandBuilder::pageFooter(const QString& printedOn) const
{
    const double top = m_page.footerTop();
    const double h = m_measure.lineHeight(FontRole::Small);
    const double left = m_page.contentLeft();
    const double width = m_page.contentWidth();
    PageItem number = textItem(FontRole::Small, QRectF(left, top + 3, width, h), QString(), Qt::AlignRight);
    number.kind = PageItem::Kind::PageNumber;
    return {ruleItem(left, top, width, 0.5),
            textItem(FontRole::Small, QRectF(left, top + 3, width / 2, h), u"Printed on "_s + printedOn),
            number};
}

} // namespace shelvio::reports
