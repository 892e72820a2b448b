#include "captionbutton.h"
#include "commandline.h"
#include "frmmain.h"
#include "report.h"
#include "reporttesting.h"
#include "reportviewer.h"
#include "reportwindow.h"
#include "scaling.h"
#include "testcatalogue.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace shelvio;
using namespace shelvio::reports;
using testing::TestCatalogue;

namespace {

using testing::ScriptedPrompter;

// Clicks a report button and, while its window is open, runs `inspect` on
// it, then closes it. Returns whether a window opened at all.
bool openAndInspect(frmMain& menu, const QString& button, const std::function<void(ReportWindow*)>& inspect)
{
    bool opened = false;
    QTimer::singleShot(0, &menu, [&] {
        auto* window = qobject_cast<ReportWindow*>(QApplication::activeModalWidget());
        if (!window)
            return;
        opened = true;
        window->viewer()->finishLayout();
        inspect(window);
        window->close();
    });
    QTest::mouseClick(menu.findChild<QPushButton*>(button), Qt::LeftButton);
    return opened;
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
private slots:
    void menuWindowLooksAsDesigned_data();
    void menuWindowLooksAsDesigned();
    void menuWindowTitleLinesAndTabOrder();
    void eachButtonOpensItsReportWindow_data();
    void eachButtonOpensItsReportWindow();
    void fullListingPointsEveryTableAtTheCatalogue();
    void reopeningShowsChangesMadeMeanwhile();
    void aFailedLoadIsReportedAndEndsTheProgram_data();
    void aFailedLoadIsReportedAndEndsTheProgram();
    void exitEndsTheProgram();
    void commandLineListsAndWritesPdf();
};

void TestReportWindows::menuWindowLooksAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char* name, const char* caption, int left, int top, int width = 2295,
                        int height = 495) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption)
                            << QRect(left, top, width, height);
    };
    row("Command1", "Author Listing With Page Break", 360, 1560);
    row("Command2", "Exit", 4800, 5520, 1815, 495);
    row("Command3", "Books To Read - Sorted By Author", 5880, 1560);
    row("Command4", "Books Read - Sorted By Author", 3120, 1560);
    row("Command5", "Books To Buy - Sorted By Author", 3120, 3120);
    row("Command6", "Books Owned - Sorted By Author", 5880, 3120);
    row("Command7", "Chronological Listing ", 8640, 5280);
    row("Command8", "Title Listing With Page Break", 360, 3120);
    row("Command9", "Full Listing By Author - Across", 8640, 1560);
    row("Command10", "Full Listing By Title - Across", 8640, 3120);
    row("Command11", "Author Listing Without Page Break", 360, 2160);
    row("Command12", "Title Listing Without Page Break", 360, 3720);
    row("Command13", "Books To Read - Sorted By Title", 5880, 2160);
    row("Command14", "Books Read - Sorted By Title", 3120, 2160);
    row("Command15", "Books To Buy - Sorted By Title", 3120, 3720);
    row("Command16", "Books Owned - Sorted By Title", 5880, 3720);
    row("Command17", "Full Listing By Author - Down", 8640, 2160);
    row("Command18", "Full Listing By Title - Down", 8640, 3720);
    row("Command19", "Rating Report", 8640, 4680);
}

void TestReportWindows::menuWindowLooksAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    frmMain menu(QStringLiteral("/nowhere/Shelvio.mdb"));
    auto* button = menu.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    const QRect expected = twipsToPixels(twips, &menu);
    QVERIFY2((button->geometry().topLeft() - expected.topLeft()).manhattanLength() <= 2, qPrintable(name));
    QVERIFY(qAbs(button->width() - expected.width()) <= 2 && qAbs(button->height() - expected.height()) <= 2);
}

void TestReportWindows::menuWindowTitleLinesAndTabOrder()
{
    frmMain menu(QStringLiteral("/nowhere/Shelvio.mdb"));
    QCOMPARE(menu.windowTitle(), QStringLiteral("Tomarium Reports"));
    // Announced to assistive technology as a window named by its caption.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&menu);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tomarium Reports"));
    QCOMPARE(menu.databasePath(), QStringLiteral("/nowhere/Shelvio.mdb"));
    QVERIFY(qAbs(menu.width() - twipsToPixels(11145, &menu)) <= 1);
    QVERIFY(qAbs(menu.height() - twipsToPixels(7515, &menu)) <= 1);
    QCOMPARE(menu.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
    auto* label = menu.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Reports"));
    QCOMPARE(label->font().families().value(0), QStringLiteral("Palace Script MT"));
    QCOMPARE(label->font().pointSize(), 72);
    QVERIFY(label->font().bold() && label->font().italic());
    QVERIFY((label->geometry().topLeft() - twipsToPixels(QRect(1560, 120, 8175, 1335), &menu).topLeft())
                .manhattanLength() <= 2);

    const struct {
        const char* name;
        int x, top, bottom;
    } lines[] = {{"Line2", 2880, 1560, 4680}, {"Line1", 5640, 1560, 4680}, {"Line3", 8400, 1560, 5880}};
    for (const auto& line : lines) {
        auto* frame = menu.findChild<QFrame*>(QString::fromUtf8(line.name));
        QVERIFY(frame);
        QCOMPARE(frame->frameShape(), QFrame::VLine);
        QVERIFY(qAbs(frame->geometry().center().x() - twipsToPixels(line.x, &menu)) <= 2);
        QVERIFY(qAbs(frame->y() - twipsToPixels(line.top, &menu)) <= 2);
        QVERIFY(qAbs(frame->geometry().bottom() + 1 - twipsToPixels(line.bottom, &menu)) <= 2);
    }

    QStringList order;
    QWidget* widget = menu.findChild<QWidget*>(QStringLiteral("Command1"));
    do {
        if (qobject_cast<QPushButton*>(widget))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget->objectName() != QStringLiteral("Command1"));
    QStringList expected{"Command1", "Command2"};
    for (int i = 3; i <= 19; ++i)
        expected << QStringLiteral("Command%1").arg(i);
    QCOMPARE(order, expected);
}

void TestReportWindows::eachButtonOpensItsReportWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* button, const char* window, const char* caption) {
        QTest::newRow(window) << QString::fromUtf8(button) << QString::fromUtf8(window)
                              << QString::fromUtf8(caption);
    };
    row("Command1", "frmRptBooksByAuthorPgBreak", "Author Listing - With Page Break");
    row("Command3", "frmrptBooksToRead", "Books To Read");
    row("Command4", "frmRptBooksReadByAuthor", "Books Read By Author");
    row("Command5", "frmRptBooksToBuyByAuthor", "Books To Buy - By Author");
    row("Command6", "frmRptBooksOwnedByAuthor", "Books Owned - By Author");
    row("Command7", "frmRptSequentialListing", "Sequential Listing Of Books Read");
    row("Command8", "frmRptBooksByTitlePgBreak", "Books By Title - Page Break");
    row("Command9", "frmFullListingByAuthor", "Full Listing By Author");
    row("Command10", "frmFullListingByTitle", "Full Listing By Title");
    row("Command11", "frmRptBooksByAuthor", "Author Listing");
    row("Command12", "frmRptBooksByTitle", "Books By Title");
    row("Command13", "frmRptBooksToReadByTitle", "Books To Read - By Title");
    row("Command14", "frmRptBooksReadByTitle", "Books Read - By Title");
    row("Command15", "frmRptBooksToBuyByTitle", "Books To Buy - By Title");
    row("Command16", "frmRptBooksOwnedByTitle", "Books Owned - By Title");
    row("Command17", "frmFullListingByAuthorInColumns", "Books By Author - Down");
    row("Command18", "frmFullListingByTitleInColumns", "Full Listing By Title - Down");
    row("Command19", "frmRptBookRating", "Book Rating Report");
}

void TestReportWindows::eachButtonOpensItsReportWindow()
{
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    TestCatalogue file;
    file.addBook(QStringLiteral("Only Book"), QStringLiteral("Writer"));
    ScriptedPrompter messages;
    frmMain menu(file.path(), &messages);
    menu.show();
    const bool opened = openAndInspect(menu, button, [&](ReportWindow* shown) {
        QCOMPARE(shown->objectName(), window);
        QCOMPARE(shown->windowTitle(), caption);
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(shown);
        QVERIFY(announced);
        QCOMPARE(announced->role(), QAccessible::Dialog);
        QCOMPARE(announced->text(QAccessible::Name), caption);
        QVERIFY(shown->isModal());
        QCOMPARE(shown->windowModality(), Qt::ApplicationModal);
        QVERIFY(shown->windowState() & Qt::WindowMaximized);
        ReportViewer* viewer = shown->findChild<ReportViewer*>(QStringLiteral("CRViewer1"));
        QCOMPARE(viewer, shown->viewer());
        QCOMPARE(viewer->geometry(), shown->rect());
        shown->setWindowState(Qt::WindowNoState);
        shown->resize(500, 400);
        QApplication::processEvents();
        QCOMPARE(viewer->geometry(), QRect(0, 0, 500, 400));
        QCOMPARE(viewer->pageCount(), int(viewer->document().pageCount()));
        QVERIFY(testing::allTexts(viewer->document()).contains(caption));
    });
    QVERIFY(opened);
    QVERIFY(testing::shown(messages).isEmpty());
    QVERIFY(!menu.hasEnded());
}

void TestReportWindows::fullListingPointsEveryTableAtTheCatalogue()
{
    TestCatalogue file;
    frmMain menu(file.path());
    menu.show();
    QVERIFY(openAndInspect(menu, QStringLiteral("Command17"), [](ReportWindow*) {}));
    Report* report = menu.reportWindow(QStringLiteral("crFullListingByAuthorInColumns"))->report();
    QVERIFY(report);
    QCOMPARE(report->tableCount(), 1);
    QCOMPARE(report->table(1).name(), QStringLiteral("Books"));
    QCOMPARE(report->table(1).location(), file.path());
    Report* subreport = report->openSubreport();
    QVERIFY(subreport);
    QCOMPARE(subreport->tableCount(), 2);
    for (int number = 1; number <= 2; ++number)
        QCOMPARE(subreport->table(number).location(), file.path());
    // The single reports have no subreport.
    QVERIFY(openAndInspect(menu, QStringLiteral("Command12"), [](ReportWindow*) {}));
    QVERIFY(!menu.reportWindow(QStringLiteral("crBooksByTitle"))->report()->openSubreport());
}

void TestReportWindows::reopeningShowsChangesMadeMeanwhile()
{
    TestCatalogue file;
    const qint64 id = file.addBook(QStringLiteral("Old Title"), QStringLiteral("Writer"));
    frmMain menu(file.path());
    menu.show();
    QStringList first;
    QVERIFY(openAndInspect(menu, QStringLiteral("Command12"), [&](ReportWindow* window) {
        first = testing::allTexts(window->viewer()->document());
    }));
    const Report* report = menu.reportWindow(QStringLiteral("crBooksByTitle"))->report();
    file.exec(QStringLiteral("UPDATE Books SET Title = 'New Title', GA2 = 'New Title' WHERE BookID = ?"),
              {id});
    file.addBook(QStringLiteral("Second Book"));
    QStringList second;
    QVERIFY(openAndInspect(menu, QStringLiteral("Command12"), [&](ReportWindow* window) {
        second = testing::allTexts(window->viewer()->document());
    }));
    // The same report object, its data read afresh.
    QCOMPARE(menu.reportWindow(QStringLiteral("crBooksByTitle"))->report(), report);
    QVERIFY(first.contains(QStringLiteral("Old Title")));
    QVERIFY(!second.contains(QStringLiteral("Old Title")));
    QVERIFY(second.contains(QStringLiteral("New Title")));
    QVERIFY(second.contains(QStringLiteral("Second Book")));
}

void TestReportWindows::aFailedLoadIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<QString>("fixture"); // empty: no file at all
    QTest::addColumn<QString>("says");
    // Every other kind of file is in tst_damagedfiles.
    QTest::newRow("older format") << "legacy/Shelvio-legacy.mdb"
                                  << "tomarium";
}

void TestReportWindows::aFailedLoadIsReportedAndEndsTheProgram()
{
    QFETCH(QString, fixture);
    QFETCH(QString, says);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
    if (!fixture.isEmpty())
        QVERIFY(QFile::copy(testing::fixturesFolder() + u'/' + fixture, path));
    ScriptedPrompter messages;
    frmMain menu(path, &messages);
    menu.show(); // the menu opens: it does not touch the catalogue
    QVERIFY(!openAndInspect(menu, QStringLiteral("Command11"), [](ReportWindow*) {}));
    QCOMPARE(testing::shown(messages).size(), 1);
    QVERIFY2(testing::shown(messages).first().contains(says), qPrintable(testing::shown(messages).first()));
    QVERIFY(testing::shown(messages).first().startsWith(QStringLiteral("Tomarium Reports: ")));
    QVERIFY(menu.hasEnded());
    QCOMPARE(menu.exitCode(), 1);
    QVERIFY(!menu.isVisible());
    QCOMPARE(QFile::exists(path), !fixture.isEmpty()); // nothing created
}

void TestReportWindows::exitEndsTheProgram()
{
    frmMain menu(QStringLiteral("/nowhere/Shelvio.mdb"));
    menu.show();
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY(menu.hasEnded());
    QCOMPARE(menu.exitCode(), 0);
    QVERIFY(!menu.isVisible());
}

void TestReportWindows::commandLineListsAndWritesPdf()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Scripted Book"), QStringLiteral("Writer"));
    const auto run = [&](const QStringList& arguments, QString* out, QString* err) {
        QTextStream outStream(out);
        QTextStream errStream(err);
        return runCommandLine(parseCommandLine(QStringList{QStringLiteral("shelvioreports")} + arguments),
                              file.path(), outStream, errStream);
    };
    QString out, err;
    QCOMPARE(run({QStringLiteral("--list")}, &out, &err), 0);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 18);
    QCOMPARE(lines.first(), QStringLiteral("crBooksByAuthorPgBreak\tAuthor Listing - With Page Break"));
    QVERIFY(lines.contains(QStringLiteral("crBooksToBuyByTitle\tBooks To Buy - By Title")));

    out.clear();
    const QString pdf = file.folder() + QStringLiteral("/rating.pdf");
    QCOMPARE(run({QStringLiteral("--pdf"), QStringLiteral("crBookRating"), pdf}, &out, &err), 0);
    QCOMPARE(testing::pdfPageCount(pdf), 1);
    QVERIFY(testing::pdfText(pdf).contains(QStringLiteral("Scripted Book")));

    err.clear();
    QCOMPARE(run({QStringLiteral("--pdf"), QStringLiteral("crNoSuchReport"), pdf}, &out, &err), 2);
    QVERIFY(err.contains(QStringLiteral("crNoSuchReport")));
    err.clear();
    QCOMPARE(run({QStringLiteral("--pdf"), QStringLiteral("crBookRating")}, &out, &err), 2);
    QVERIFY(!err.isEmpty());
    QCOMPARE(parseCommandLine({QStringLiteral("shelvioreports")}).action, CommandLine::Action::ShowMenu);

    QFile::remove(file.path());
    err.clear();
    QCOMPARE(run({QStringLiteral("--pdf"), QStringLiteral("crBookRating"), pdf}, &out, &err), 1);
    QVERIFY(err.contains(QStringLiteral("was not found")));
}

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
