#pragma once

#include "reportdata.h"
#include "reportdefinition.h"
#include "reportpage.h"
#include "reportstyle.h"

#include <QLocale>

#include <vector>

// The contents of a report's bands: headers, a book's detail line or full
// entry, footers. Each is built as a block of lines at the block's own
// origin; the flow decides where on which page it goes.
namespace shelvio::reports {

// One line of a block: items placed relative to the block's left edge and
// the line's top. A block may be split between lines, never inside one.
struct BlockLine {
    double height = 0;
    std::vector<PageItem> items;
};

struct Block {
    std::vector<BlockLine> lines;
    double height() const;
    bool isEmpty() const { return lines.empty(); }
};

class BandBuilder {
public:
    BandBuilder(const ReportDefinition& definition, const TextMeasure& measure, const QLocale& locale,
                const PageGeometry& page, double columnWidth);

    Block reportHeader(const QString& printedOn) const;
    Block pageHeader(bool firstPage) const;
    Block groupHeader(int level, const QString& heading, double width) const;
    Block detail(const Book& book) const;
    Block reportFooter(qint64 bookCount) const;
    std::vector<PageItem> pageFooter(const QString& printedOn) const;

private:
    struct Column {
        Field field;
        double x;
        double width;
    };
    std::vector<Column> listColumns() const;
    Block listRow(const Book& book) const;
    Block fullEntry(const Book& book) const;
    void addWrapped(Block& block, FontRole role, const QString& text, double indent, double width) const;
    void addLabelledPairs(Block& block, const std::vector<std::pair<QString, QString>>& pairs) const;
    void addFlags(Block& block, const Book& book) const;
    double detailIndent() const;

    const ReportDefinition& m_definition;
    const TextMeasure& m_measure;
    QLocale m_locale;
    PageGeometry m_page;
    double m_columnWidth;
    std::vector<Column> m_columns;
};

} // namespace shelvio::reports
