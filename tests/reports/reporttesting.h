#pragma once

#include "report.h"
#include "reportlayout.h"
#include "reportpage.h"
#include "scriptedprompter.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <optional>

// Running reports in tests: a fixed page size, locale and print date, so
// that pages and texts do not depend on the machine.
namespace testing {

shelvio::reports::LayoutOptions fixedLayoutOptions();

// Runs a definition against a catalogue file the way a report window does.
shelvio::reports::ReportDocument runReport(const QString& definitionName, const QString& catalogue);

// Every page, each made from its record.
std::vector<shelvio::reports::ReportPage> allPages(const shelvio::reports::ReportDocument& document);

// Each item of the page as a line: its kind, type face, alignment, place
// and text.
QStringList itemLines(const shelvio::reports::ReportPage& page);

// Every text of every page, in page order.
QStringList allTexts(const shelvio::reports::ReportDocument& document);

// Texts of one font role, in page order.
QStringList textsOf(const shelvio::reports::ReportDocument& document, shelvio::reports::FontRole role);

// The messages a prompter was given, each as "title: text".
QStringList shown(const ScriptedPrompter& prompter);

// Closes every modal dialog that opens while it lives, other than report
// windows, and keeps the titles of those it closed: an action that must not
// ask anything is caught instead of waiting for an answer for ever.
class DialogWatch : public QObject {
public:
    DialogWatch();
    QStringList closed;

private:
    void closeStrayDialog();
    QTimer m_timer;
};

// The page count and text that poppler's tools read from a PDF file.
int pdfPageCount(const QString& path);
QString pdfText(const QString& path);

} // namespace testing
