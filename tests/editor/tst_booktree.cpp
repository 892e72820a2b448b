#include "booktreeview.h"
#include "editorharness.h"
#include "nameforms.h"

#include <QAccessible>
#include <QTest>

using namespace shelvio;
using testing::EditorHarness;

class TestBookTree : public QObject {
    Q_OBJECT
private slots:
    void emptyCatalogueInEveryOrdering();
    void titleOrdering();
    void authorOrdering();
    void authorKeysFromTrimmedAndEmptyNames();
    void categoryOrdering();
    void categoriesEqualButForCase();
    void bookNumbersBeyondSixteenBits();
    void doubleClickOnNothingDoesNothing();
    void enterLoadsTheCurrentBook();
    void changingOrderingKeepsTheEditArea();
    void treeFollowsTheOptionHoweverItIsSet_data();
    void treeFollowsTheOptionHoweverItIsSet();
};

void TestBookTree::emptyCatalogueInEveryOrdering()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    for (const char* option : {"optSortByTitle", "optSortAuthor", "optSortCategory"}) {
        editor.order(option);
        QCOMPARE(editor.tree()->nodes().nodeCount(), 0);
        QCOMPARE(editor.countLabel(), QStringLiteral("0 Books on File."));
    }
    QVERIFY(editor.prompter().prompts().isEmpty());
}

void TestBookTree::titleOrdering()
{
    EditorHarness editor;
    const qint64 hobbit = editor.file().addBook(QStringLiteral("The Hobbit"));
    const qint64 dune1 = editor.file().addBook(QStringLiteral("Dune"));
    editor.file().addBook(QStringLiteral("zoo"));
    const qint64 dune2 = editor.file().addBook(QStringLiteral("Dune"));
    editor.file().addBook(QStringLiteral("Charlotte's Web"));
    editor.file().addBook(QStringLiteral("émile"));
    QVERIFY(editor.start());
    QVERIFY(editor.option("optSortByTitle")->isChecked());
    QCOMPARE(editor.rootTexts(),
             (QStringList{"Charlotte's Web", "Dune", "Dune", "émile", "Hobbit, The ", "zoo"}));
    const QStringList keys = editor.tree()->nodes().rootKeys();
    QCOMPARE(keys.at(1), titleNodeKey(dune1));
    QCOMPARE(keys.at(2), titleNodeKey(dune2));
    QCOMPARE(keys.at(4), QStringLiteral("T %1").arg(hobbit));
    QCOMPARE(editor.countLabel(), QStringLiteral("6 Books on File."));
}

void TestBookTree::authorOrdering()
{
    EditorHarness editor;
    const qint64 b =
        editor.file().addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    editor.file().addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    editor.file().addBook(QStringLiteral("A Persuasion"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    editor.file().addBook(QStringLiteral("Anonymous"));
    QVERIFY(editor.start());
    editor.order("optSortAuthor");
    QCOMPARE(editor.rootTexts(), (QStringList{"<Null>, <Null>", "Austen, Jane", "Herbert, Frank"}));
    QCOMPARE(editor.tree()->nodes().rootKeys().at(0), QStringLiteral("A<Null>, <Null>"));
    QCOMPARE(editor.childTexts(QStringLiteral("AAusten, Jane")), (QStringList{"Emma", "Persuasion, A"}));
    QCOMPARE(editor.tree()->nodes().childKeys(QStringLiteral("AAusten, Jane")).first(), titleNodeKey(b));
    QCOMPARE(editor.countLabel(), QStringLiteral("4 Books on File."));
}

void TestBookTree::authorKeysFromTrimmedAndEmptyNames()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("One"), QStringLiteral("Smith"), QStringLiteral("John"));
    editor.file().addBook(QStringLiteral("Two"), QStringLiteral("  Smith "), QStringLiteral(" John"));
    editor.file().addBook(QStringLiteral("Three"), QStringLiteral("Smith"), QStringLiteral("Amy"));
    editor.file().addBook(QStringLiteral("Four"), QStringLiteral("smith"), QStringLiteral("John"));
    // Null names, as older files hold them, join the empty names.
    editor.file().exec(QStringLiteral("INSERT INTO Books (Title, GA2) VALUES ('Nulls', 'Nulls')"));
    editor.file().addBook(QStringLiteral("Blanks"), QStringLiteral("  "), QStringLiteral(""));
    QVERIFY(editor.start());
    editor.order("optSortAuthor");
    QCOMPARE(editor.rootTexts(), (QStringList{"<Null>, <Null>", "Smith, Amy", "Smith, John", "smith, John"}));
    QCOMPARE(editor.childTexts(QStringLiteral("ASmith, John")), (QStringList{"One", "Two"}));
    QCOMPARE(editor.childTexts(QStringLiteral("A<Null>, <Null>")), (QStringList{"Blanks", "Nulls"}));
    QCOMPARE(editor.tree()->nodes().nodeCount(), 10);
}

void TestBookTree::categoryOrdering()
{
    EditorHarness editor;
    for (const char* name : {"Science Fiction", "Children's", "art", "Reference"})
        editor.file().addCategory(QString::fromUtf8(name));
    const qint64 wrinkle = editor.file().addBook(QStringLiteral("A Wrinkle in Time"), {}, {},
                                                 {"Science Fiction", "Children's", "art"});
    editor.file().addBook(QStringLiteral("Dune"), {}, {}, {"Science Fiction"});
    editor.file().addBook(QStringLiteral("No Category"));
    QVERIFY(editor.start());
    editor.order("optSortCategory");
    // A category without books has no node; a book without category none either.
    QCOMPARE(editor.rootTexts(), (QStringList{"art", "Children's", "Science Fiction"}));
    QCOMPARE(editor.tree()->nodes().rootKeys().at(1), QStringLiteral("CChildren's"));
    QCOMPARE(editor.childTexts(QStringLiteral("CScience Fiction")),
             (QStringList{"Dune", "Wrinkle in Time, A"}));
    const QStringList keys{categoryBookNodeKey(0, wrinkle), categoryBookNodeKey(1, wrinkle),
                           categoryBookNodeKey(3, wrinkle)};
    for (const QString& key : keys)
        QCOMPARE(editor.tree()->nodes().text(key), QStringLiteral("Wrinkle in Time, A"));
    QCOMPARE(editor.countLabel(), QStringLiteral("3 Books on File."));
}

void TestBookTree::categoriesEqualButForCase()
{
    EditorHarness editor;
    editor.file().exec(QStringLiteral("INSERT INTO Category (CategoryID, CategoryName) VALUES (1, "
                                      "'Fiction'), (2, 'fiction'), (3, 'Fiction')"));
    editor.file().addBook(QStringLiteral("Lower"), {}, {}, {"fiction"});
    editor.file().addBook(QStringLiteral("Upper"), {}, {}, {"Fiction"});
    // A link to the second "Fiction" (old files can hold one) joins the first's node.
    editor.file().exec(QStringLiteral("INSERT INTO BookCategoryLink VALUES (2, 3)"));
    QVERIFY(editor.start());
    editor.order("optSortCategory");
    QCOMPARE(editor.rootTexts(), (QStringList{"Fiction", "fiction"}));
    QCOMPARE(editor.childTexts(QStringLiteral("CFiction")), (QStringList{"Upper", "Upper"}));
    QCOMPARE(editor.childTexts(QStringLiteral("Cfiction")), QStringList{"Lower"});
}

void TestBookTree::bookNumbersBeyondSixteenBits()
{
    EditorHarness editor;
    editor.file().exec(
        QStringLiteral("INSERT INTO Books (BookID, Title, GA2, Author, GA1) VALUES "
                       "(32768, 'High', 'High', 'Doe', 'Jo'), (70000, 'Higher', 'Higher', 'Doe', 'Jo')"));
    QVERIFY(editor.start());
    QCOMPARE(editor.tree()->nodes().rootKeys(), (QStringList{"T 32768", "T 70000"}));
    editor.doubleClickNode(QStringLiteral("T 70000"));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Higher"));
    QCOMPARE(editor.text("txtBookID")->text(), QStringLiteral("70000"));
}

void TestBookTree::doubleClickOnNothingDoesNothing()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("Only"));
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("typed"));
    BookTreeView* view = editor.tree();
    // Below the last row there is no node.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, view->viewport()->height() - 5));
    QVERIFY(editor.prompter().prompts().isEmpty());
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("typed"));
}

void TestBookTree::enterLoadsTheCurrentBook()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("First"));
    const qint64 second = editor.file().addBook(QStringLiteral("Second"));
    QVERIFY(editor.start());
    editor.tree()->setFocus();
    QTest::keyClick(editor.tree(), Qt::Key_Down);
    QTest::keyClick(editor.tree(), Qt::Key_Down);
    QTest::keyClick(editor.tree(), Qt::Key_Return);
    QCOMPARE(editor.text("txtBookID")->text(), QString::number(second));
}

void TestBookTree::changingOrderingKeepsTheEditArea()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("Only"), QStringLiteral("Doe"));
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("half typed"));
    editor.order("optSortAuthor");
    editor.order("optSortCategory");
    editor.order("optSortByTitle");
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("half typed"));
    QVERIFY(editor.window().changesMade());
    QVERIFY(!editor.window().newEntry());
    QVERIFY(editor.prompter().prompts().isEmpty());
}

// A screen reader switches an option with its toggle or press action, the
// keyboard with the arrow keys, without a click on the option itself.
void TestBookTree::treeFollowsTheOptionHoweverItIsSet_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"click", "arrow key", "toggle action", "press action"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestBookTree::treeFollowsTheOptionHoweverItIsSet()
{
    QFETCH(QString, how);
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Poetry"));
    editor.file().addBook(QStringLiteral("Odes"), QStringLiteral("Keats"), QStringLiteral("John"),
                          {"Poetry"});
    QVERIFY(editor.start());
    QRadioButton* author = editor.option("optSortAuthor");
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(author)->actionInterface();
    QVERIFY(actions);
    int builds = 0;
    connect(editor.tree()->model(), &QAbstractItemModel::modelReset, this, [&builds] { ++builds; });
    if (how == QLatin1String("click")) {
        editor.click("optSortAuthor");
    } else if (how == QLatin1String("arrow key")) {
        editor.option("optSortByTitle")->setFocus();
        QTest::keyClick(editor.option("optSortByTitle"), Qt::Key_Right);
    } else {
        actions->doAction(how == QLatin1String("toggle action") ? QAccessibleActionInterface::toggleAction()
                                                                : QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(author->isChecked());
    }
    QVERIFY(author->isChecked());
    QTRY_COMPARE(editor.rootTexts(), QStringList{"Keats, John"});
    QCOMPARE(builds, 1);
    // A click on the option already on reads the catalogue again.
    editor.file().addBook(QStringLiteral("Endymion"), QStringLiteral("Keats"), QStringLiteral("John"));
    editor.click("optSortAuthor");
    QCOMPARE(editor.childTexts(QStringLiteral("AKeats, John")), (QStringList{"Endymion", "Odes"}));
    QCOMPARE(builds, 2);
}

QTEST_MAIN(TestBookTree)
#include "tst_booktree.moc"
