#include "report.h"
#include "reporttesting.h"
#include "reportviewer.h"
#include "reportwindow.h"
#include "testcatalogue.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace shelvio;
using namespace shelvio::reports;
using testing::TestCatalogue;

namespace {

QAction* toolAction(const ReportViewer& viewer, const QString& text)
{
    for (QAction* action : viewer.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no action %s", qPrintable(text));
}

// The toolbar actions that work on the pages shown.
const QStringList pageActions{"First Page", "Previous Page", "Next Page",  "Last Page", "Zoom Out",
                              "Zoom In",    "Print",         "Export PDF", "Find Next"};

// A viewer showing a report over the catalogue, laid out in full.
struct ShownReport {
    explicit ShownReport(const QString& path)
        : report(*findDefinition(QStringLiteral("crBooksByAuthor")))
    {
        setLocationOfEveryTable(report, path);
        viewer.resize(900, 700);
        viewer.show();
        viewer.setReportSource(&report);
        if (const auto viewed = viewer.viewReport(); !viewed)
            qFatal("the report could not be viewed: %s", qPrintable(viewed.error().text()));
        viewer.finishLayout();
    }
    Report report;
    testing::ScriptedPrompter prompter;
    ReportViewer viewer{prompter};
};

// Damages the catalogue file in one of the ways a file can be found.
void spoil(const QString& path, const QString& how)
{
    if (how == QStringLiteral("removed"))
        QVERIFY(QFile::remove(path));
    else if (how == QStringLiteral("foreign"))
        testing::writeFile(path, "Not a catalogue at all, just a few words.");
    else if (how == QStringLiteral("truncated"))
        testing::writeFile(path, testing::fileBytes(path).left(2048));
}

} // namespace

class TestReportViewer : public QObject {
    Q_OBJECT
private slots:
    void pagesZoomsFindsAndPrints();
    void everyActionIsSafeWithoutPages_data();
    void everyActionIsSafeWithoutPages();
    void anEmptyCatalogueGivesOnePageToPageFindAndPrint();
    void aReportWindowTellsOfAFailedRefreshAndStaysOpen();
};

void TestReportViewer::pagesZoomsFindsAndPrints()
{
    TestCatalogue file;
    for (int i = 0; i < 300; ++i)
        file.addBook(QStringLiteral("Volume %1").arg(i, 3, 10, QChar(u'0')),
                     QStringLiteral("Writer %1").arg(i % 9));
    const ReportDefinition& definition = *findDefinition(QStringLiteral("crBooksByAuthor"));
    Report report(definition);
    report.table(1).setLocation(file.path());
    testing::ScriptedPrompter prompter;
    ReportViewer viewer(prompter);
    viewer.resize(900, 700);
    viewer.show();
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
    viewer.setReportSource(&report);
    QVERIFY(viewer.viewReport());
    // The first page shows before the rest is laid out.
    QVERIFY(viewer.pageCount() >= 1);
    QTRY_VERIFY(viewer.isLaidOut());
    const int pages = viewer.pageCount();
    QVERIFY(pages > 3);
    QCOMPARE(viewer.pageBoxText(), QStringLiteral("1 of %1").arg(pages));
    QTest::keyClick(&viewer, Qt::Key_PageDown);
    QCOMPARE(viewer.currentPage(), 1);
    QCOMPARE(viewer.pageBoxText(), QStringLiteral("2 of %1").arg(pages));
    viewer.lastPage();
    QCOMPARE(viewer.currentPage(), pages - 1);
    viewer.nextPage();
    QCOMPARE(viewer.currentPage(), pages - 1);
    auto* pageBox = viewer.findChild<QLineEdit*>(QStringLiteral("pageBox"));
    pageBox->setText(QStringLiteral("3"));
    QTest::keyClick(pageBox, Qt::Key_Return);
    QCOMPARE(viewer.currentPage(), 2);
    viewer.firstPage();
    QCOMPARE(viewer.currentPage(), 0);

    viewer.setZoom(ReportViewer::ZoomMode::Percent, 200);
    QCOMPARE(viewer.zoomPercent(), 200);
    viewer.zoomIn();
    QCOMPARE(viewer.zoomPercent(), 300);
    viewer.setZoom(ReportViewer::ZoomMode::Percent, 400);
    viewer.zoomIn();
    QCOMPARE(viewer.zoomPercent(), 400);
    viewer.setZoom(ReportViewer::ZoomMode::Percent, 50);
    viewer.zoomOut();
    QCOMPARE(viewer.zoomPercent(), 50);
    viewer.setZoom(ReportViewer::ZoomMode::FitPage);
    QVERIFY(viewer.zoomPercent() < 100);

    // Find: the last book's page, then on to the next match.
    QVERIFY(viewer.findNext(QStringLiteral("volume 299")));
    QVERIFY(viewer.document().page(viewer.currentPage()).texts().contains(QStringLiteral("Volume 299")));
    QVERIFY(!viewer.findNext(QStringLiteral("no such text")));

    // The group tree jumps to a group's page.
    QTreeWidget* tree = viewer.groupTree();
    QVERIFY(tree->topLevelItemCount() > 0);
    QTreeWidgetItem* lastWriter = tree->topLevelItem(0)->child(tree->topLevelItem(0)->childCount() - 1);
    QCOMPARE(lastWriter->text(0), QStringLiteral("Writer 8"));
    viewer.firstPage();
    emit tree->itemActivated(lastWriter, 0);
    QVERIFY(viewer.document().page(viewer.currentPage()).texts().contains(QStringLiteral("Writer 8")));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file.folder() + QStringLiteral("/printed.pdf"));
    QVERIFY(viewer.print(&printer));
    QCOMPARE(testing::pdfPageCount(file.folder() + QStringLiteral("/printed.pdf")), pages);
    QVERIFY(testing::pdfText(file.folder() + QStringLiteral("/printed.pdf"))
                .contains(QStringLiteral("Volume 150")));

    // Refresh reads the catalogue again.
    file.addBook(QStringLiteral("Added Later"), QStringLiteral("Writer 0"));
    viewer.refresh();
    viewer.finishLayout();
    QVERIFY(testing::allTexts(viewer.document()).contains(QStringLiteral("Added Later")));
}

void TestReportViewer::everyActionIsSafeWithoutPages_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("says");
    QTest::newRow("file removed") << "removed"
                                  << "was not found";
    QTest::newRow("foreign file") << "foreign"
                                  << "not an SQLite database";
    QTest::newRow("truncated file") << "truncated" << QString();
}

// A refresh that meets a damaged catalogue leaves the viewer empty: it says
// so, the page box and every action that needs a page agree, and whatever
// the user does next neither crashes nor opens a dialog to print nothing.
// Once the catalogue can be read again, a refresh brings everything back.
void TestReportViewer::everyActionIsSafeWithoutPages()
{
    QFETCH(QString, how);
    QFETCH(QString, says);
    TestCatalogue file;
    for (int i = 0; i < 120; ++i)
        file.addBook(QStringLiteral("Volume %1").arg(i), QStringLiteral("Writer %1").arg(i % 4));
    const QByteArray whole = testing::fileBytes(file.path());
    ShownReport shown(file.path());
    ReportViewer& viewer = shown.viewer;
    QVERIFY(viewer.pageCount() > 1);
    viewer.lastPage();
    QVERIFY(viewer.findNext(QStringLiteral("Volume 1")));

    spoil(file.path(), how);
    QSignalSpy failures(&viewer, &ReportViewer::refreshFailed);
    testing::DialogWatch dialogs;
    toolAction(viewer, QStringLiteral("Refresh"))->trigger();
    QCOMPARE(failures.count(), 1);
    QVERIFY2(failures.first().first().toString().contains(says),
             qPrintable(failures.first().first().toString()));

    // What is shown: nothing, and every control says so.
    QCOMPARE(viewer.pageCount(), 0);
    QVERIFY(viewer.document().isEmpty());
    QCOMPARE(viewer.currentPage(), 0);
    QVERIFY(viewer.pageBoxText().isEmpty());
    QVERIFY(!viewer.findChild<QLineEdit*>(QStringLiteral("pageBox"))->isEnabled());
    QVERIFY(!viewer.findChild<QLineEdit*>(QStringLiteral("findBox"))->isEnabled());
    QVERIFY(!viewer.findChild<QComboBox*>(QStringLiteral("zoomBox"))->isEnabled());
    QVERIFY(!viewer.groupTree()->isVisible());
    const QLabel* status = viewer.findChild<QLabel*>(QStringLiteral("status"));
    QVERIFY(status);
    QVERIFY(!status->text().isEmpty());
    for (const QString& text : pageActions)
        QVERIFY2(!toolAction(viewer, text)->isEnabled(), qPrintable(text));
    QVERIFY(toolAction(viewer, QStringLiteral("Refresh"))->isEnabled());

    // Whatever is asked of it now: no crash, no dialog, nothing written.
    for (const QString& text : pageActions)
        toolAction(viewer, text)->trigger();
    for (const QKeyCombination key :
         {Qt::Key_PageDown | Qt::NoModifier, Qt::Key_PageUp | Qt::NoModifier, Qt::CTRL | Qt::Key_End,
          Qt::CTRL | Qt::Key_Home, Qt::CTRL | Qt::Key_P, Qt::CTRL | Qt::Key_E, Qt::CTRL | Qt::Key_Plus,
          Qt::Key_F3 | Qt::NoModifier})
        QTest::keyClick(&viewer, key.key(), key.keyboardModifiers());
    QVERIFY(!viewer.findNext(QStringLiteral("Volume")));
    viewer.showPage(3);
    viewer.nextPage();
    viewer.lastPage();
    viewer.previousPage();
    viewer.setZoom(ReportViewer::ZoomMode::Percent, 200);
    viewer.zoomIn();
    viewer.setZoom(ReportViewer::ZoomMode::FitPage);
    viewer.grab();
    QCOMPARE(viewer.currentPage(), 0);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file.folder() + QStringLiteral("/printed.pdf"));
    QVERIFY(!viewer.print(&printer));
    const Status exported = viewer.exportPdf(file.folder() + QStringLiteral("/exported.pdf"));
    QVERIFY(!exported);
    QVERIFY(!exported.error().text().isEmpty());
    QVERIFY(!QFile::exists(file.folder() + QStringLiteral("/printed.pdf")));
    QVERIFY(!QFile::exists(file.folder() + QStringLiteral("/exported.pdf")));
    QCOMPARE(dialogs.closed, QStringList());
    QCOMPARE(failures.count(), 1);

    // The catalogue mended, a refresh shows the report again.
    testing::writeFile(file.path(), whole);
    toolAction(viewer, QStringLiteral("Refresh"))->trigger();
    viewer.finishLayout();
    QCOMPARE(failures.count(), 1);
    QVERIFY(viewer.pageCount() > 1);
    QCOMPARE(viewer.pageBoxText(), QStringLiteral("1 of %1").arg(viewer.pageCount()));
    QVERIFY(viewer.findChild<QLineEdit*>(QStringLiteral("pageBox"))->isEnabled());
    QVERIFY(status->text().isEmpty());
    for (const QString& text : pageActions)
        QVERIFY2(toolAction(viewer, text)->isEnabled(), qPrintable(text));
    QVERIFY(viewer.groupTree()->isVisible());
}

// A catalogue without books still gives a page: the report's title and
// "0 books listed.", which pages, searches, prints and exports as one page.
void TestReportViewer::anEmptyCatalogueGivesOnePageToPageFindAndPrint()
{
    TestCatalogue file;
    ShownReport shown(file.path());
    ReportViewer& viewer = shown.viewer;
    QCOMPARE(viewer.pageCount(), 1);
    QCOMPARE(viewer.pageBoxText(), QStringLiteral("1 of 1"));
    for (const char* text : {"Next Page", "Last Page", "Previous Page", "First Page"}) {
        toolAction(viewer, QString::fromUtf8(text))->trigger();
        QCOMPARE(viewer.currentPage(), 0);
    }
    QVERIFY(!viewer.findNext(QStringLiteral("Volume")));
    QVERIFY(viewer.findNext(QStringLiteral("0 books")));
    QVERIFY(viewer.findNext(QStringLiteral("0 books")));
    QCOMPARE(viewer.currentPage(), 0);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file.folder() + QStringLiteral("/printed.pdf"));
    QVERIFY(viewer.print(&printer));
    QCOMPARE(testing::pdfPageCount(file.folder() + QStringLiteral("/printed.pdf")), 1);
    const Status exported = viewer.exportPdf(file.folder() + QStringLiteral("/exported.pdf"));
    QVERIFY2(exported, qPrintable(exported.error().text()));
    QVERIFY(testing::pdfText(file.folder() + QStringLiteral("/exported.pdf"))
                .contains(QStringLiteral("0 books listed.")));
}

void TestReportViewer::aReportWindowTellsOfAFailedRefreshAndStaysOpen()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Only Book"), QStringLiteral("Writer"));
    testing::ScriptedPrompter messages;
    ReportWindow window(*findDefinition(QStringLiteral("crBooksByAuthor")), file.path(), messages);
    const Status loaded = window.loadReport();
    QVERIFY2(loaded, qPrintable(loaded.error().text()));
    window.show();
    testing::DialogWatch dialogs;
    testing::writeFile(file.path(), "Not a catalogue.");
    window.viewer()->refresh();
    QCOMPARE(testing::shown(messages).size(), 1);
    QVERIFY2(testing::shown(messages).first().startsWith(QStringLiteral("Author Listing: ")),
             qPrintable(testing::shown(messages).first()));
    QVERIFY(testing::shown(messages).first().contains(QStringLiteral("not an SQLite database")));
    QCOMPARE(dialogs.closed, QStringList());
    QVERIFY(window.isVisible());
    QCOMPARE(window.viewer()->pageCount(), 0);
}

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
