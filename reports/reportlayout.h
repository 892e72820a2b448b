#pragma once

#include "reportdata.h"
#include "reportdefinition.h"
#include "reportpage.h"
#include "reportstyle.h"

#include <QDate>
#include <QLocale>
#include <QPageSize>

#include <memory>
#include <vector>

namespace shelvio::reports {

class BandBuilder;
class Flow;
struct GroupKey;

struct LayoutOptions {
    QPageSize pageSize;
    QLocale locale;
    QDate printDate;
};
// The system's locale and its paper size, and today.
LayoutOptions defaultLayoutOptions();

// Lays a report out into pages, a few books at a time so that the first
// page can be shown before the last is made: report header, page headers,
// group headers with a page break where the definition asks for one, the
// details, the report footer, and on every page a footer with the print
// date and "Page N of M".
class ReportLayout {
public:
    ReportLayout(const ReportDefinition& definition, const std::vector<Book>& books,
                 const LayoutOptions& options);
    ~ReportLayout();

    // Lays out up to `books` more books; false once the report is complete.
    bool layoutSome(int books);
    void layoutAll();
    bool isComplete() const { return m_document.complete; }

    // Pages that will not change any more.
    int finishedPages() const;
    const ReportDocument& document() const { return m_document; }
    ReportDocument takeDocument();

private:
    void startPage(Flow& flow, bool firstPage);
    void placeBook(size_t index);
    void finish();

    const ReportDefinition& m_definition;
    const std::vector<Book>& m_books;
    LayoutOptions m_options;
    QString m_printedOn;
    PageGeometry m_page;
    TextMeasure m_measure;
    ReportDocument m_document;
    std::unique_ptr<BandBuilder> m_bands;
    std::unique_ptr<Flow> m_flow;
    std::vector<QString> m_groupKeys;
    size_t m_next = 0;
};

// Lays out the whole report at once.
ReportDocument layoutReport(const ReportDefinition& definition, const std::vector<Book>& books,
                            const LayoutOptions& options);

} // namespace shelvio::reports
