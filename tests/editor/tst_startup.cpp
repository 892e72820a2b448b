#include "booktreeview.h"
#include "editorharness.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using testing::EditorHarness;
using testing::ScriptedPrompter;

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
    void createsAMissingCatalogueAndSaysWhere();
    void refusesAFileThatIsNotACatalogue();
    void readOnlyCatalogueIsForBrowsing();
    void reportsButtonStartsTheViewerEachTime();
    void reportsButtonWithoutTheViewer();
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
    QCOMPARE(entries, (QStringList{"mnuBackup=&Backup", "mnuRestore=&Restore", "mnuExit=E&xit"}));
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

void TestStartup::createsAMissingCatalogueAndSaysWhere()
{
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    frmBookList window(locateCatalogue(folder.path()), folder.path(), prompter);
    QVERIFY(window.load());
    QCOMPARE(prompter.prompts().size(), 1);
    QVERIFY(prompter.last().text.contains(folder.filePath(QStringLiteral("Shelvio.mdb"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Shelvio.mdb"))));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblBookCount"))->text(),
             QStringLiteral("0 Books on File."));
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

void TestStartup::reportsButtonStartsTheViewerEachTime()
{
    EditorHarness editor;
    const QString marker = editor.file().folder() + QStringLiteral("/started");
    writeScript(editor.file().folder() + QStringLiteral("/shelvioreports"),
                "echo started >> '" + marker.toUtf8() + "'\n");
    QVERIFY(editor.start());
    editor.click("Command6");
    editor.click("Command6");
    QTRY_COMPARE_WITH_TIMEOUT(
        [&] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : qsizetype(0);
        }(),
        qsizetype(2), 5000);
    QVERIFY(editor.prompter().prompts().isEmpty());
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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
