#include "booktreeview.h"
#include "editorharness.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using testing::EditorHarness;
using testing::ScriptedPrompter;
using testing::TestCatalogue;

namespace {

void writeScript(const QString& path, const QByteArray& body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void controlsCarryTheirCaptions_data();
    void controlsCarryTheirCaptions();
    void windowAtStart();
    void tabOrder();
    void accessibleNames();
    void createsAMissingCatalogueAndSaysWhere_data();
    void createsAMissingCatalogueAndSaysWhere();
    void refusesAFileThatIsNotACatalogue();
    void readOnlyCatalogueIsForBrowsing();
    void reportsButtonStartsTheViewerEachTime_data();
    void reportsButtonStartsTheViewerEachTime();
    void reportsButtonWithoutTheViewer();
    void aboutNamesVersionLicenceAndCatalogue();
};

void TestStartup::controlsCarryTheirCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QList<QPair<const char*, const char*>> captions{
        {"optSortByTitle", "Title"},
        {"optSortAuthor", "Author"},
        {"optSortCategory", "Category"},
        {"Command6", "&Reports"},
        {"Label1", "Title:"},
        {"Label13", "First Name"},
        {"Label14", "Last Name"},
        {"Label2", "Author:"},
        {"Label5", "Yr. Pub.:"},
        {"Label4", "Pages:"},
        {"Label6", "Date Read:"},
        {"Label10", "mm"},
        {"Label11", "dd"},
        {"Label12", "yyyy"},
        {"chkReadBook", "Have Read Book"},
        {"chkWantToReadBook", "Want to Read Book"},
        {"Label7", "Cost:"},
        {"chkWantBook", "Want to Buy this Book"},
        {"chkOwnBook", "Own the Book"},
        {"chkRating2", "Bad"},
        {"chkRating4", "Fair"},
        {"chkRating6", "Good"},
        {"chkRating8", "Very Good"},
        {"chkRating10", "Excellent"},
        {"Label8", "Comments:"},
        {"Label3", "Available Categories:"},
        {"Label9", "Categories Selected:"},
        {"Command2", "&Add New Category"},
        {"Command5", "D&elete Category"},
        {"Command1", "&Save"},
        {"Command3", "&Delete This Record"},
        {"Command4", "&Clear Screen"},
    };
    for (const auto& [name, caption] : captions)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
}

void TestStartup::controlsCarryTheirCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    EditorHarness editor;
    QVERIFY(editor.start());
    QWidget* widget = editor.window().findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    const QVariant text = widget->property("text");
    QCOMPARE(text.toString(), caption);
    // Labels and the four flag boxes have bold captions; the rating boxes not.
    const bool bold = name.startsWith(u"Label") || name == u"chkReadBook" || name == u"chkWantToReadBook" ||
                      name == u"chkWantBook" || name == u"chkOwnBook";
    QCOMPARE(widget->font().bold(), bold);
}

void TestStartup::windowAtStart()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Zoology"));
    editor.file().addCategory(QStringLiteral("art"));
    editor.file().addCategory(QStringLiteral("Émile"));
    QVERIFY(editor.start());
    frmBookList& window = editor.window();
    QCOMPARE(window.windowTitle(), QStringLiteral("Tomarium"));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(192, 192, 255));
    QCOMPARE(editor.control<QGroupBox>("Frame1")->title(), QStringLiteral("Sorting Criteria"));
    QCOMPARE(editor.control<QGroupBox>("Frame2")->title(), QStringLiteral("Rating"));
    QVERIFY(editor.control<QGroupBox>("Frame1")->font().bold());
    QVERIFY(editor.option("optSortByTitle")->isChecked());
    QVERIFY(editor.tree()->hasFocus());
    QVERIFY(!editor.text("txtBookID")->isVisible());
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"art", "Émile", "Zoology"}));
    QVERIFY(editor.listEntries("lstCategoriesSelected").isEmpty());
    QVERIFY(!window.changesMade());
    QVERIFY(!window.newEntry());
    QVERIFY(window.loadedTitle().isEmpty());
    QCOMPARE(window.databasePath(), editor.file().folder() + QStringLiteral("/Shelvio.mdb"));

    QMenu* file = window.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    QVERIFY(file);
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QStringList entries;
    for (QAction* action : file->actions()) {
        if (!action->isSeparator())
            entries << action->objectName() + QLatin1Char('=') + action->text();
    }
    QCOMPARE(entries, (QStringList{"mnuExport=&Export Books…", "mnuImport=&Import Books…",
                                   "mnuBackup=&Backup", "mnuRestore=&Restore", "mnuExit=E&xit"}));
    // Text boxes stop at the width of their column; the date boxes fit it together.
    QCOMPARE(editor.text("txtTitle")->maxLength(), 255);
    QCOMPARE(editor.text("txtMonth")->maxLength() + editor.text("txtDay")->maxLength() +
                 editor.text("txtYear")->maxLength() + 2,
             255);
}

void TestStartup::tabOrder()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    const QStringList expected{"TreeView1",
                               "txtTitle",
                               "txtAuthorFirstName",
                               "txtAuthor",
                               "txtYrPub",
                               "txtPages",
                               "lstCategories",
                               "chkReadBook",
                               "txtMonth",
                               "txtDay",
                               "txtYear",
                               "chkWantToReadBook",
                               "txtCost",
                               "txtComments",
                               "chkWantBook",
                               "chkOwnBook",
                               "optSortByTitle",
                               "optSortAuthor",
                               "optSortCategory",
                               "Command1",
                               "Command3",
                               "Command4",
                               "chkRating10",
                               "chkRating8",
                               "chkRating6",
                               "chkRating4",
                               "chkRating2",
                               "Command2",
                               "Command5",
                               "Command6",
                               "lstCategoriesSelected"};
    QStringList order;
    QWidget* widget = editor.tree();
    for (int i = 0; i < expected.size(); ++i) {
        order << widget->objectName();
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible() ||
               widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_"))
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void TestStartup::accessibleNames()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    QCOMPARE(editor.tree()->accessibleName(), QStringLiteral("Books"));
    QCOMPARE(editor.list("lstCategories")->accessibleName(), QStringLiteral("Available Categories"));
    QCOMPARE(editor.list("lstCategoriesSelected")->accessibleName(), QStringLiteral("Categories Selected"));
    // Text boxes are named by their buddy labels, which also carry the access keys.
    const QList<QPair<const char*, const char*>> buddies{
        {"Label1", "txtTitle"},   {"Label13", "txtAuthorFirstName"},
        {"Label14", "txtAuthor"}, {"Label5", "txtYrPub"},
        {"Label4", "txtPages"},   {"Label10", "txtMonth"},
        {"Label11", "txtDay"},    {"Label12", "txtYear"},
        {"Label7", "txtCost"},    {"Label8", "txtComments"}};
    for (const auto& [label, box] : buddies)
        QCOMPARE(editor.control<QLabel>(label)->buddy()->objectName(), QString::fromLatin1(box));
}

void TestStartup::createsAMissingCatalogueAndSaysWhere_data()
{
    QTest::addColumn<CatalogueLocation::Place>("place");
    QTest::addColumn<QString>("path"); // under a temporary folder that holds the program folder "bin"
    QTest::newRow("beside the programs") << CatalogueLocation::Place::ProgramFolder << "bin/Shelvio.mdb";
    QTest::newRow("in the user's data folder, made on the way")
        << CatalogueLocation::Place::UserData << "data/tomarium/Shelvio.mdb";
    QTest::newRow("chosen") << CatalogueLocation::Place::Chosen << "Books.mdb";
}

void TestStartup::createsAMissingCatalogueAndSaysWhere()
{
    QFETCH(CatalogueLocation::Place, place);
    QFETCH(QString, path);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("bin")));
    const QString programFolder = root.filePath(QStringLiteral("bin"));
    const CatalogueLocation location{root.filePath(path), place};
    ScriptedPrompter prompter;
    frmBookList window(location, programFolder, prompter);
    QVERIFY(window.load());
    QCOMPARE(window.databasePath(), location.path);
    QVERIFY(QFile::exists(location.path));
    QCOMPARE(prompter.prompts().size(), 1);
    const QString text = prompter.last().text;
    QVERIFY(text.startsWith(
        QStringLiteral("No catalogue was found, so a new, empty one has been created:\n") + location.path));
    // Away from the programs, the message says why the catalogue lies where it does.
    const bool saysWhy = place == CatalogueLocation::Place::UserData;
    QCOMPARE(
        text.contains(QStringLiteral("The program's folder %1 cannot be written to, so your catalogue is "
                                     "kept in your own data folder %2.")
                          .arg(programFolder, root.filePath(QStringLiteral("data/tomarium")))),
        saysWhy);
    QCOMPARE(text.count(u'\n'), saysWhy ? 3 : 1);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblBookCount"))->text(),
             QStringLiteral("0 Books on File."));
    if (place != CatalogueLocation::Place::ProgramFolder)
        QVERIFY(QDir(programFolder).isEmpty());
}

void TestStartup::refusesAFileThatIsNotACatalogue()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
    const QByteArray content("Shopping list: milk, eggs.\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ScriptedPrompter prompter;
    frmBookList window(locateCatalogue(folder.path()), folder.path(), prompter);
    QVERIFY(!window.load());
    QCOMPARE(prompter.prompts().size(), 1);
    QVERIFY(prompter.last().text.contains(path));
    QVERIFY(prompter.last().text.contains(QStringLiteral("not a Tomarium catalogue")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void TestStartup::readOnlyCatalogueIsForBrowsing()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("History"));
    editor.file().addBook(QStringLiteral("Stored"), QStringLiteral("Doe"), {}, {"History"});
    const QByteArray before = editor.file().bytes();
    QVERIFY(editor.start(Access::ReadOnly));
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("can only be read")));

    editor.doubleClickNode(QStringLiteral("T 1"));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Stored"));
    editor.type("txtTitle", QStringLiteral("Changed"));
    editor.click("Command1");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("read-only")));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Changed"));
    editor.click("Command3");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("read-only")));
    editor.click("Command2");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("read-only")));
    editor.doubleClickEntry("lstCategoriesSelected", QStringLiteral("History"));
    editor.selectEntry("lstCategories", QStringLiteral("History"));
    editor.click("Command5");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("read-only")));
    QCOMPARE(editor.prompter().unansweredQuestions(), 0);
    QCOMPARE(editor.file().bytes(), before);
}

void TestStartup::reportsButtonStartsTheViewerEachTime_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::newRow("the usual catalogue: no arguments") << false;
    QTest::newRow("a chosen catalogue is handed on") << true;
}

void TestStartup::reportsButtonStartsTheViewerEachTime()
{
    QFETCH(bool, chosen);
    TestCatalogue file;
    QTemporaryDir programFolder;
    const QString marker = programFolder.filePath(QStringLiteral("started"));
    writeScript(programFolder.filePath(QStringLiteral("shelvioreports")),
                "echo \"$# $*\" >> '" + marker.toUtf8() + "'\n");
    const CatalogueLocation location{file.path(), chosen ? CatalogueLocation::Place::Chosen
                                                         : CatalogueLocation::Place::ProgramFolder};
    ScriptedPrompter prompter;
    frmBookList window(location, programFolder.path(), prompter);
    QVERIFY(window.load());
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
    const QString started = chosen ? QStringLiteral("2 --catalogue ") + file.path() : QStringLiteral("0 ");
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(testing::fileBytes(marker)).split(u'\n', Qt::SkipEmptyParts),
                              QStringList(2, started), 5000);
    QVERIFY(prompter.prompts().isEmpty());
}

void TestStartup::reportsButtonWithoutTheViewer()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    editor.click("Command6");
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QVERIFY(
        editor.prompter().last().text.contains(editor.file().folder() + QStringLiteral("/shelvioreports")));
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("could not be started")));
}

void TestStartup::aboutNamesVersionLicenceAndCatalogue()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    QMenu* help = editor.window().menuBar()->findChild<QMenu*>(QStringLiteral("mnuHelp"));
    QVERIFY(help);
    QCOMPARE(help->title(), QStringLiteral("&Help"));
    QCOMPARE(help->actions().size(), 1);
    QAction* about = help->actions().first();
    QCOMPARE(about->objectName(), QStringLiteral("mnuAbout"));
    QCOMPARE(about->text(), QStringLiteral("&About Tomarium"));

    about->trigger();
    QCOMPARE(editor.prompter().prompts().size(), 1);
    const ScriptedPrompter::Prompt box = editor.prompter().last();
    QCOMPARE(box.kind, ScriptedPrompter::Prompt::Inform);
    QCOMPARE(box.title, QStringLiteral("About Tomarium"));
    QVERIFY(box.text.startsWith(QStringLiteral("Tomarium " TOMARIUM_PROJECT_VERSION "\n")));
    QVERIFY(box.text.contains(QStringLiteral("GPL-3.0-or-later")));
    QVERIFY(box.text.endsWith(QStringLiteral("Catalogue file in use:\n") + editor.file().path()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
