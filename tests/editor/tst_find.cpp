#include "booktreeview.h"
#include "editorharness.h"
#include "findpanel.h"
#include "nameforms.h"

#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace shelvio;
using testing::EditorHarness;
using Answer = Prompter::Answer;

namespace {

// Six books whose words lie in every field: titles, both names (with and
// without accents), comments and categories. The Hobbit is in two
// categories; Hobbit Recipes has no author and no category.
struct Library {
    EditorHarness editor;
    qint64 hobbit = 0;
    qint64 emile = 0;
    qint64 jane = 0;
    qint64 recipes = 0;

    Library()
    {
        testing::TestCatalogue& file = editor.file();
        for (const char* category : {"Fantasy", "Classics", "Philosophy"})
            file.addCategory(QString::fromLatin1(category));
        hobbit = file.addBook(
            book("The Hobbit", "Tolkien", "J.R.R.", "A gift from Émile.", {"Fantasy", "Classics"}));
        emile = file.addBook(book("Émile, or On Education", "Rousseau", "Jean-Jacques", {}, {"Philosophy"}));
        jane = file.addBook(book("Jane Eyre", "Brontë", "Charlotte", "Read twice", {"Classics"}));
        file.addBook(book("Wuthering Heights", "Brontë", "Emily", {}, {"Classics"}));
        file.addBook(book("The Lord of the Rings", "Tolkien", "J.R.R.", {}, {"Fantasy"}));
        recipes = file.addBook(book("Hobbit Recipes", "", "", "Cooking for halflings", {}));
    }

    static Book book(const char* title, const char* author, const char* firstName, const char* comments,
                     const QStringList& categories)
    {
        Book record =
            testing::book(QString::fromUtf8(title), QString::fromUtf8(author), QString::fromUtf8(firstName));
        record.comments = QString::fromUtf8(comments);
        record.categories = categories;
        return record;
    }
    int books() { return editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")).toInt(); }
};

// The marked stretches of the lines shown for a book, as text.
QStringList markedTexts(const FoundBookLines& lines)
{
    QStringList marked;
    const auto add = [&](const QString& text, const QList<TextRange>& marks) {
        for (const TextRange& mark : marks)
            marked << text.mid(mark.start, mark.length);
    };
    add(lines.title, lines.titleMarks);
    add(lines.byline, lines.bylineMarks);
    add(lines.detail, lines.detailMarks);
    return marked;
}

// Every control of the window but the find bar, with its place and size.
QStringList controlGeometries(QWidget* window, const QWidget* findBar)
{
    QStringList geometries;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control == findBar || findBar->isAncestorOf(control))
            continue;
        const QRect r = control->geometry();
        geometries << QStringLiteral("%1 %2,%3 %4x%5")
                          .arg(control->objectName())
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height());
    }
    return geometries;
}

} // namespace

class TestFind : public QObject {
    Q_OBJECT
private slots:
    void findsAsYouType_data();
    void findsAsYouType();
    void marksWhatMatches_data();
    void marksWhatMatches();
    void opensAndClosesByKeyboard_data();
    void opensAndClosesByKeyboard();
    void opensFoundBookAsDoubleClick();
    void asksAboutUnsavedChangesFirst_data();
    void asksAboutUnsavedChangesFirst();
    void stepsThroughMatchesInTreeOrder_data();
    void stepsThroughMatchesInTreeOrder();
    void followsSaveAndDelete();
    void findsTitleChangedByAnotherTool();
    void findsBooksWithFarApartNumbers();
};

// clang-format off
void TestFind::findsAsYouType_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected"); // in the title tree's order
    QTest::addColumn<QString>("count");
    QTest::newRow("accents left out") << "emile" << QStringList{"Émile, or On Education", "The Hobbit"} << "2 books found";
    QTest::newRow("accent typed in a name") << "BRONTË" << QStringList{"Jane Eyre", "Wuthering Heights"} << "2 books found";
    QTest::newRow("accent left out of a name") << "bronte" << QStringList{"Jane Eyre", "Wuthering Heights"} << "2 books found";
    QTest::newRow("upper case") << "HOBBIT" << QStringList{"Hobbit Recipes", "The Hobbit"} << "2 books found";
    QTest::newRow("last name") << "rousseau" << QStringList{"Émile, or On Education"} << "1 book found";
    QTest::newRow("first name") << "emily" << QStringList{"Wuthering Heights"} << "1 book found";
    QTest::newRow("hyphenated first name") << "jean-jacques" << QStringList{"Émile, or On Education"} << "1 book found";
    QTest::newRow("comments") << "halflings" << QStringList{"Hobbit Recipes"} << "1 book found";
    QTest::newRow("category") << "fantasy" << QStringList{"The Hobbit", "The Lord of the Rings"} << "2 books found";
    QTest::newRow("words in two fields") << "tolkien hobbit" << QStringList{"The Hobbit"} << "1 book found";
    QTest::newRow("words in any order") << "hobbit tolkien" << QStringList{"The Hobbit"} << "1 book found";
    QTest::newRow("category and title") << "classics hobbit" << QStringList{"The Hobbit"} << "1 book found";
    QTest::newRow("word begun") << "tolk" << QStringList{"The Hobbit", "The Lord of the Rings"} << "2 books found";
    QTest::newRow("phrase") << "\"lord of the\"" << QStringList{"The Lord of the Rings"} << "1 book found";
    QTest::newRow("phrase in another order") << "\"rings lord\"" << QStringList{} << "No books found";
    QTest::newRow("closed phrase is whole words") << "\"tolk\"" << QStringList{} << "No books found";
    QTest::newRow("blanks at the ends") << "   jane   " << QStringList{"Jane Eyre"} << "1 book found";
    QTest::newRow("no match") << "zebra" << QStringList{} << "No books found";
    QTest::newRow("one word of two missing") << "tolkien zebra" << QStringList{} << "No books found";
    QTest::newRow("nothing typed") << "" << QStringList{} << "";
}
// clang-format on

void TestFind::findsAsYouType()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    QFETCH(QString, count);
    Library library;
    QVERIFY(library.editor.start());
    library.editor.find(typed);
    QCOMPARE(library.editor.foundTitles(), expected);
    QCOMPARE(library.editor.foundCount(), count);
    // The first book found is the current one, for Enter.
    QCOMPARE(library.editor.findBar()->list()->currentIndex().row(), expected.isEmpty() ? -1 : 0);
}

// clang-format off
void TestFind::marksWhatMatches_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("byline");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("title") << "emile" << "Émile, or On Education" << "Rousseau, Jean-Jacques" << "" << QStringList{"Émile"};
    QTest::newRow("comments") << "emile" << "The Hobbit" << "Tolkien, J.R.R." << "Comments: A gift from Émile." << QStringList{"Émile"};
    QTest::newRow("name") << "bronte char" << "Jane Eyre" << "Brontë, Charlotte" << "" << QStringList{"Brontë", "Charlotte"};
    QTest::newRow("category") << "fantasy hobbit" << "The Hobbit" << "Tolkien, J.R.R." << "Category: Fantasy" << QStringList{"Hobbit", "Fantasy"};
    QTest::newRow("no author") << "recipes" << "Hobbit Recipes" << "" << "" << QStringList{"Recipes"};
}
// clang-format on

// The lines the list draws for the first book found, and what is marked
// in them.
void TestFind::marksWhatMatches()
{
    QFETCH(QString, typed);
    QFETCH(QString, title);
    QFETCH(QString, byline);
    QFETCH(QString, detail);
    QFETCH(QStringList, marked);
    Library library;
    QVERIFY(library.editor.start());
    library.editor.find(typed);
    const FoundBooksModel& found = library.editor.findBar()->found();
    const int row = int(library.editor.foundTitles().indexOf(title));
    QVERIFY(row >= 0);
    const FoundBookLines lines = foundBookLines(found.bookAt(row), found.terms());
    QCOMPARE(lines.byline, byline);
    QCOMPARE(lines.detail, detail);
    QCOMPARE(markedTexts(lines), marked);
}

void TestFind::opensAndClosesByKeyboard_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Ctrl+F") << "Ctrl+F";
    QTest::newRow("slash in the tree") << "/";
    QTest::newRow("F3 before any search") << "F3";
    QTest::newRow("Edit menu") << "menu";
}

void TestFind::opensAndClosesByKeyboard()
{
    QFETCH(QString, way);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    FindPanel* bar = editor.findBar();
    const QStringList placesBefore = controlGeometries(&editor.window(), bar);
    QVERIFY(!bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), editor.tree());

    if (way == QLatin1String("menu"))
        editor.window().findChild<QAction*>(QStringLiteral("mnuFind"))->trigger();
    else if (way == QLatin1String("/"))
        QTest::keyClicks(editor.tree(), way);
    else
        editor.press(QKeySequence(way)[0].key(), QKeySequence(way)[0].keyboardModifiers());
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), editor.tree()->geometry());
    QCOMPARE(QApplication::focusWidget(), bar->searchBox());
    QCOMPARE(bar->searchBox()->accessibleName(), QStringLiteral("Find books"));
    QCOMPARE(bar->list()->accessibleName(), QStringLiteral("Books found"));

    // Down moves into the books found; Escape closes the bar from the list too.
    QTest::keyClicks(bar->searchBox(), QStringLiteral("tolkien"));
    editor.press(Qt::Key_Down);
    QCOMPARE(bar->list()->currentIndex().row(), 1);
    bar->list()->setFocus();
    editor.press(Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), editor.tree());
    QCOMPARE(controlGeometries(&editor.window(), bar), placesBefore);
}

void TestFind::opensFoundBookAsDoubleClick()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.order("optSortAuthor");
    editor.find(QStringLiteral("jane"));
    editor.press(Qt::Key_Return);
    QVERIFY(!editor.findBar()->isVisible());
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Jane Eyre"));
    QCOMPARE(editor.window().loadedAuthor(), QStringLiteral("Brontë"));
    QVERIFY(!editor.window().changesMade());
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Classics"});
    // Its node is selected in the ordering shown, its author opened.
    QCOMPARE(editor.currentNodePath(), QStringLiteral("Brontë, Charlotte/Jane Eyre"));
    QVERIFY(editor.tree()->isExpanded(editor.tree()->currentIndex().parent()));

    // A double-click on a book found does the same.
    editor.find(QStringLiteral("rousseau"));
    QListView* list = editor.findBar()->list();
    emit list->doubleClicked(list->model()->index(0, 0));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Émile, or On Education"));
    QCOMPARE(editor.currentNodePath(), QStringLiteral("Rousseau, Jean-Jacques/Émile, or On Education"));
}

void TestFind::asksAboutUnsavedChangesFirst_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("titleShown");
    QTest::addColumn<int>("books");
    QTest::newRow("Yes saves, then shows") << Answer::Yes << "Jane Eyre" << 7;
    QTest::newRow("No drops the changes") << Answer::No << "Jane Eyre" << 6;
    QTest::newRow("Cancel keeps them") << Answer::Cancel << "Dune" << 6;
}

void TestFind::asksAboutUnsavedChangesFirst()
{
    QFETCH(Answer, answer);
    QFETCH(QString, titleShown);
    QFETCH(int, books);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.order("optSortCategory");
    editor.type("txtTitle", QStringLiteral("Dune"));
    editor.prompter().queueAnswer(answer);
    editor.find(QStringLiteral("jane"));
    editor.press(Qt::Key_Return);
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QCOMPARE(editor.prompter().last().text, testing::unsavedChangesQuestion);
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Changes Made"));
    QCOMPARE(editor.text("txtTitle")->text(), titleShown);
    QCOMPARE(library.books(), books);
    if (answer != Answer::Cancel)
        QCOMPARE(editor.currentNodePath(), QStringLiteral("Classics/Jane Eyre"));
}

// clang-format off
void TestFind::stepsThroughMatchesInTreeOrder_data()
{
    QTest::addColumn<QByteArray>("ordering");
    QTest::addColumn<QStringList>("forward"); // the nodes F3 selects, from the first node on
    QTest::newRow("title") << QByteArray("optSortByTitle")
        << QStringList{"Hobbit, The ", "Lord of the Rings, The ", "Hobbit, The "};
    QTest::newRow("author") << QByteArray("optSortAuthor")
        << QStringList{"Tolkien, J.R.R./Hobbit, The ", "Tolkien, J.R.R./Lord of the Rings, The ",
                       "Tolkien, J.R.R./Hobbit, The "};
    // A book in two categories is met under each.
    QTest::newRow("category") << QByteArray("optSortCategory")
        << QStringList{"Classics/Hobbit, The ", "Fantasy/Hobbit, The ", "Fantasy/Lord of the Rings, The ",
                       "Classics/Hobbit, The "};
}
// clang-format on

void TestFind::stepsThroughMatchesInTreeOrder()
{
    QFETCH(QByteArray, ordering);
    QFETCH(QStringList, forward);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.order(ordering.constData());
    editor.find(QStringLiteral("tolkien"));
    editor.press(Qt::Key_Escape);
    editor.tree()->setCurrentIndex(editor.tree()->model()->index(0, 0));
    QStringList met;
    for (qsizetype i = 0; i < forward.size(); ++i) {
        editor.press(Qt::Key_F3);
        met << editor.currentNodePath();
    }
    QCOMPARE(met, forward);
    // Back again, round the start.
    editor.press(Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(editor.currentNodePath(), forward.at(forward.size() - 2));
    QVERIFY(!editor.findBar()->isVisible());
    QCOMPARE(QApplication::focusWidget(), editor.tree());
    // Stepping selects; it shows no book.
    QCOMPARE(editor.text("txtTitle")->text(), QString());
}

// The list follows a save and a delete while the find bar stays open.
void TestFind::followsSaveAndDelete()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.find(QStringLiteral("cookbook"));
    QCOMPARE(editor.foundCount(), QStringLiteral("No books found"));

    editor.doubleClickNode(titleNodeKey(library.recipes));
    editor.type("txtTitle", QStringLiteral("Halfling Cookbook"));
    editor.click("Command1");
    QCOMPARE(editor.foundTitles(), QStringList{"Halfling Cookbook"});
    QCOMPARE(editor.foundCount(), QStringLiteral("1 book found"));

    editor.doubleClickNode(titleNodeKey(library.recipes));
    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command3");
    QCOMPARE(editor.foundTitles(), QStringList{});
    QCOMPARE(editor.foundCount(), QStringLiteral("No books found"));
}

void TestFind::findsTitleChangedByAnotherTool()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    const QString changed = testing::runAsPlainSqliteTool(
        editor.file().path(),
        QStringLiteral("UPDATE Books SET Title = 'Quenta Silmarillion' WHERE BookID = %1")
            .arg(library.hobbit));
    QCOMPARE(changed, QString());
    editor.find(QStringLiteral("quenta"));
    QCOMPARE(editor.foundTitles(), QStringList{"Quenta Silmarillion"});
    editor.find(QStringLiteral("hobbit"));
    QCOMPARE(editor.foundTitles(), QStringList{"Hobbit Recipes"});
}

// Book numbers far apart (as another program may give them) are placed and
// stepped through like any others.
void TestFind::findsBooksWithFarApartNumbers()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("Beta Dune"));
    const qint64 far = editor.file().addBook(QStringLiteral("Alpha Dune"));
    editor.file().exec(QStringLiteral("UPDATE Books SET BookID = 5000000000 WHERE BookID = ?"), {far});
    QVERIFY(editor.start());
    editor.find(QStringLiteral("dune"));
    QCOMPARE(editor.foundTitles(), (QStringList{"Alpha Dune", "Beta Dune"}));
    editor.press(Qt::Key_Escape);
    editor.tree()->setCurrentIndex({}); // F3 from no node goes to the first match
    editor.press(Qt::Key_F3);
    QCOMPARE(editor.tree()->nodes().keyAt(editor.tree()->currentIndex()), titleNodeKey(5000000000));
    editor.press(Qt::Key_F3);
    QCOMPARE(editor.currentNodePath(), QStringLiteral("Beta Dune"));
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
