#pragma once

#include "reportdata.h"
#include "reportdefinition.h"
#include "reportflow.h"
#include "reportpage.h"
#include "reportstyle.h"

#include <QDate>
#include <QLocale>
#include <QPageSize>

#include <memory>
#include <vector>

namespace shelvio::reports {

class BandBuilder;

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
// date and "Page N of M". Of each page it keeps only where the flow stood
// before the book that started it; page() lays the page out again from there
// when it is painted, so a report of a million books keeps its rows once and
// a few dozen bytes a page.
class ReportLayout {
public:
    ReportLayout(const ReportDefinition& definition, std::shared_ptr<const ReportRows> rows,
                 const LayoutOptions& options);
    ~ReportLayout();
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    // Lays out up to `books` more books; false once the report is complete.
    bool layoutSome(int books);
    void layoutAll();
    bool isComplete() const { return m_complete; }
    // Books laid out so far, of bookCount().
    qint64 booksLaidOut() const { return qint64(m_next); }

    // Pages that will not change any more.
    int finishedPages() const;
    int pageCount() const { return int(m_pages.size()); }
    ReportPage page(int index) const;
    const std::vector<GroupMark>& groups() const { return m_groups; }
    const ReportDefinition& definition() const { return m_definition; }
    QSizeF pageSize() const { return m_page.size; }
    qint64 bookCount() const { return m_rows->size(); }

private:
    class Placer;
    // A page starts while `book` is placed (the report footer when it is
    // the book count), from the flow's state before it.
    struct PageRecord {
        qint32 book = 0;
        FlowState before;
    };
    void startPage(Flow& flow, bool firstPage) const;
    void recordPages(qint32 book, const FlowState& before, int pagesBefore);
    void finish();

    const ReportDefinition& m_definition;
    std::shared_ptr<const ReportRows> m_rows;
    LayoutOptions m_options;
    QString m_printedOn;
    PageGeometry m_page;
    TextMeasure m_measure;
    std::unique_ptr<BandBuilder> m_bands;
    std::unique_ptr<Placer> m_placer;
    std::vector<PageRecord> m_pages;
    std::vector<GroupMark> m_groups;
    qsizetype m_next = 0;
    bool m_complete = false;
};

// Lays out the whole report at once.
ReportDocument layoutReport(const ReportDefinition& definition, std::shared_ptr<const ReportRows> rows,
                            const LayoutOptions& options);

} // namespace shelvio::reports
