#include "booktreeview.h"
#include "editorharness.h"
#include "nameforms.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace shelvio;
using testing::EditorHarness;
using Answer = Prompter::Answer;

namespace {

struct Library {
    EditorHarness editor;
    qint64 emma = 0;
    qint64 persuasion = 0;
    qint64 dune = 0;

    Library()
    {
        editor.file().addCategory(QStringLiteral("Classics"));
        emma = editor.file().addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"),
                                     {"Classics"});
        persuasion = editor.file().addBook(QStringLiteral("Persuasion"), QStringLiteral("Austen"),
                                           QStringLiteral("Jane"), {"Classics"});
        dune =
            editor.file().addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    }
    int books() { return editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")).toInt(); }
};

} // namespace

class TestEditCycle : public QObject {
    Q_OBJECT
private slots:
    void showsEveryField();
    void showsNullsAsEmpty();
    void questionOnDoubleClick_data();
    void questionOnDoubleClick();
    void groupNodesAreNotLoaded();
    void sameBookUnderTwoCategories();
    void bookDeletedMeanwhile();
    void clearScreen_data();
    void clearScreen();
    void closing_data();
    void closing();
    void exitAsksNothing();
    void deleteAsks();
    void deleteInEachOrdering_data();
    void deleteInEachOrdering();
    void deleteWithEmptyEditArea();
    void dateBoxesTickHaveRead();
    void realQuestionBox();
};

void TestEditCycle::showsEveryField()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Fiction"));
    editor.file().addCategory(QStringLiteral("History"));
    Book book =
        testing::book(QStringLiteral("The Hobbit"), QStringLiteral("Tolkien"), QStringLiteral("J.R.R."));
    book.yearPublished = 1937;
    book.pages = 310;
    book.costUnits = 125000;
    book.dateRead = QStringLiteral("3/14/2004");
    book.comments = QStringLiteral("There and back");
    book.rating = 7;
    book.wantToBuy = true;
    book.wantToRead = true;
    book.categories = QStringList{"History"};
    const qint64 id = editor.file().addBook(book);
    QVERIFY(editor.start());
    editor.doubleClickNode(titleNodeKey(id));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("The Hobbit"));
    QCOMPARE(editor.text("txtAuthor")->text(), QStringLiteral("Tolkien"));
    QCOMPARE(editor.text("txtAuthorFirstName")->text(), QStringLiteral("J.R.R."));
    QCOMPARE(editor.text("txtYrPub")->text(), QStringLiteral("1937"));
    QCOMPARE(editor.text("txtPages")->text(), QStringLiteral("310"));
    QCOMPARE(editor.text("txtCost")->text(), QStringLiteral("12.5"));
    QCOMPARE(editor.text("txtMonth")->text(), QStringLiteral("3"));
    QCOMPARE(editor.text("txtDay")->text(), QStringLiteral("14"));
    QCOMPARE(editor.text("txtYear")->text(), QStringLiteral("2004"));
    QCOMPARE(editor.comments()->toPlainText(), QStringLiteral("There and back"));
    QVERIFY(editor.box("chkRating6")->isChecked() && editor.box("chkRating8")->isChecked());
    QVERIFY(!editor.box("chkRating4")->isChecked() && !editor.box("chkRating10")->isChecked());
    QVERIFY(editor.box("chkWantBook")->isChecked());
    QVERIFY(editor.box("chkWantToReadBook")->isChecked());
    QVERIFY(!editor.box("chkOwnBook")->isChecked());
    QVERIFY(!editor.box("chkReadBook")->isChecked());
    QCOMPARE(editor.text("txtBookID")->text(), QString::number(id));
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Fiction"});
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"History"});
    QCOMPARE(editor.window().loadedTitle(), QStringLiteral("The Hobbit"));
    QCOMPARE(editor.window().loadedAuthor(), QStringLiteral("Tolkien"));
    QCOMPARE(editor.window().loadedFirstName(), QStringLiteral("J.R.R."));
    QVERIFY(!editor.window().changesMade());
    QVERIFY(!editor.window().newEntry());
    QVERIFY(editor.text("txtTitle")->hasFocus());
}

void TestEditCycle::showsNullsAsEmpty()
{
    EditorHarness editor;
    editor.file().exec(QStringLiteral("INSERT INTO Books (BookID, Title, GA2, DateRead, Rating) "
                                      "VALUES (7, 'Bare', 'Bare', '//', 0)"));
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("leftover"));
    editor.prompter().queueAnswer(Answer::No);
    editor.doubleClickNode(QStringLiteral("T 7"));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Bare"));
    for (const char* box : {"txtAuthor", "txtAuthorFirstName", "txtYrPub", "txtPages", "txtCost", "txtMonth",
                            "txtDay", "txtYear"})
        QVERIFY2(editor.text(box)->text().isEmpty(), box);
    QVERIFY(!editor.box("chkReadBook")->isChecked());
    QVERIFY(editor.window().loadedAuthor().isEmpty());
    QVERIFY(editor.window().loadedFirstName().isEmpty());
    // After a load nothing counts as changed: the next double-click asks nothing.
    editor.prompter().clear();
    editor.doubleClickNode(QStringLiteral("T 7"));
    QVERIFY(editor.prompter().prompts().isEmpty());
}

// clang-format off
void TestEditCycle::questionOnDoubleClick_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("typedTitle");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("books");
    QTest::newRow("Yes saves, then shows") << int(Answer::Yes) << "Typed" << "Dune" << 4;
    QTest::newRow("No drops the input") << int(Answer::No) << "Typed" << "Dune" << 3;
    QTest::newRow("Cancel keeps the input") << int(Answer::Cancel) << "Typed" << "Typed" << 3;
    QTest::newRow("Yes without title") << int(Answer::Yes) << "" << "" << 3;
}
// clang-format on

void TestEditCycle::questionOnDoubleClick()
{
    QFETCH(int, answer);
    QFETCH(QString, typedTitle);
    QFETCH(QString, shownTitle);
    QFETCH(int, books);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.click("Command4"); // as if a book had just been saved
    editor.type("txtTitle", typedTitle);
    editor.type("txtAuthor", QStringLiteral("Someone"));
    editor.prompter().queueAnswer(Answer(answer));
    editor.doubleClickNode(titleNodeKey(library.dune));
    const auto& prompt = editor.prompter().prompts().first();
    QCOMPARE(prompt.text, testing::unsavedChangesQuestion);
    QCOMPARE(prompt.title, QStringLiteral("Changes Made"));
    QCOMPARE(prompt.buttons, Prompter::Buttons::YesNoCancel);
    QCOMPARE(prompt.defaultButton, Answer::Yes);
    QCOMPARE(editor.text("txtTitle")->text(), shownTitle);
    QCOMPARE(library.books(), books);
    if (typedTitle.isEmpty()) {
        QCOMPARE(editor.prompter().last().title, QStringLiteral("Missing Title"));
        QCOMPARE(editor.text("txtAuthor")->text(), QStringLiteral("Someone"));
    }
}

void TestEditCycle::groupNodesAreNotLoaded()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.order("optSortAuthor");
    editor.doubleClickNode(QStringLiteral("AAusten, Jane"));
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
    QVERIFY(editor.prompter().prompts().isEmpty());
    // With changes it asks first; after No the edit area still stays as it was.
    editor.type("txtTitle", QStringLiteral("typed"));
    editor.prompter().queueAnswer(Answer::No);
    editor.order("optSortCategory");
    editor.doubleClickNode(QStringLiteral("CClassics"));
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("typed"));
    // After Yes it saves, and still loads nothing.
    editor.prompter().queueAnswer(Answer::Yes);
    editor.doubleClickNode(QStringLiteral("CClassics"));
    QCOMPARE(library.books(), 4);
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
}

void TestEditCycle::sameBookUnderTwoCategories()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("A"));
    editor.file().addCategory(QStringLiteral("B"));
    const qint64 id = editor.file().addBook(QStringLiteral("Both"), {}, {}, {"A", "B"});
    editor.file().addBook(QStringLiteral("Other"), {}, {}, {"A"});
    QVERIFY(editor.start());
    editor.order("optSortCategory");
    for (const QString& category : {QStringLiteral("CA"), QStringLiteral("CB")}) {
        const QString key = editor.tree()->nodes().childKeys(category).first();
        editor.doubleClickNode(key);
        QCOMPARE(editor.text("txtBookID")->text(), QString::number(id));
        QCOMPARE(editor.listEntries("lstCategoriesSelected"), (QStringList{"A", "B"}));
    }
}

void TestEditCycle::bookDeletedMeanwhile()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.file().exec(QStringLiteral("DELETE FROM Books WHERE BookID = ?"), {library.dune});
    editor.doubleClickNode(titleNodeKey(library.dune));
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("no longer in the catalogue")));
    QVERIFY(!editor.tree()->nodes().contains(titleNodeKey(library.dune)));
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
}

// clang-format off
void TestEditCycle::clearScreen_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("books");
    QTest::newRow("Yes") << int(Answer::Yes) << "New one" << true << 4;
    QTest::newRow("No") << int(Answer::No) << "New one" << true << 3;
    QTest::newRow("Cancel") << int(Answer::Cancel) << "New one" << false << 3;
    QTest::newRow("Yes without title") << int(Answer::Yes) << " " << false << 3;
}
// clang-format on

void TestEditCycle::clearScreen()
{
    QFETCH(int, answer);
    QFETCH(QString, title);
    QFETCH(bool, cleared);
    QFETCH(int, books);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    // Without changes it clears at once.
    editor.click("Command4");
    QVERIFY(editor.prompter().prompts().isEmpty());
    editor.type("txtTitle", title);
    editor.type("txtPages", QStringLiteral("12"));
    editor.prompter().queueAnswer(Answer(answer));
    editor.click("Command4");
    QCOMPARE(editor.prompter().prompts().first().text, testing::unsavedChangesQuestion);
    QCOMPARE(editor.text("txtPages")->text().isEmpty(), cleared);
    QCOMPARE(editor.window().changesMade(), !cleared);
    QCOMPARE(library.books(), books);
}

// clang-format off
void TestEditCycle::closing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("books");
    QTest::newRow("Yes") << int(Answer::Yes) << "Closing" << true << 4;
    QTest::newRow("No") << int(Answer::No) << "Closing" << true << 3;
    QTest::newRow("Cancel") << int(Answer::Cancel) << "Closing" << false << 3;
    QTest::newRow("Yes without title") << int(Answer::Yes) << "" << false << 3;
}
// clang-format on

void TestEditCycle::closing()
{
    QFETCH(int, answer);
    QFETCH(QString, title);
    QFETCH(bool, closes);
    QFETCH(int, books);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.type("txtTitle", title);
    editor.click("chkOwnBook");
    editor.prompter().queueAnswer(Answer(answer));
    QCOMPARE(editor.window().close(), closes);
    QCOMPARE(editor.prompter().prompts().first().text, testing::unsavedChangesQuestion);
    QCOMPARE(library.books(), books);
    // Without changes the window closes without a question.
    if (!closes) {
        editor.prompter().clear();
        editor.prompter().queueAnswer(Answer::No);
        editor.click("Command4");
        QVERIFY(editor.window().close());
        QCOMPARE(editor.prompter().prompts().size(), 1);
    }
}

void TestEditCycle::exitAsksNothing()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("Unsaved"));
    QSignalSpy ending(&editor.window(), &frmBookList::endProgram);
    editor.window().findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    QCOMPARE(ending.count(), 1);
    QVERIFY(editor.prompter().prompts().isEmpty());
    QCOMPARE(library.books(), 3);
}

void TestEditCycle::deleteAsks()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.doubleClickNode(titleNodeKey(library.dune));
    editor.prompter().queueAnswer(Answer::No);
    editor.click("Command3");
    QCOMPARE(editor.prompter().last().text, QStringLiteral("Are you sure you want to delete this book?"));
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Deleting Book"));
    QCOMPARE(editor.prompter().last().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(library.books(), 3);
    QVERIFY(editor.tree()->nodes().contains(titleNodeKey(library.dune)));
    // No resets the edit area and refreshes the count all the same.
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
    QCOMPARE(editor.countLabel(), QStringLiteral(" 3 Books on File."));
}

// clang-format off
void TestEditCycle::deleteInEachOrdering_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("rootsAfterPersuasion");
    QTest::addColumn<QStringList>("rootsAfterEmma");
    QTest::newRow("title") << "optSortByTitle" << QStringList{"Dune", "Emma"} << QStringList{"Dune"};
    QTest::newRow("author") << "optSortAuthor" << QStringList{"Austen, Jane", "Herbert, Frank"}
                            << QStringList{"Herbert, Frank"};
    QTest::newRow("category") << "optSortCategory" << QStringList{"Classics"} << QStringList{};
}
// clang-format on

void TestEditCycle::deleteInEachOrdering()
{
    QFETCH(QString, option);
    QFETCH(QStringList, rootsAfterPersuasion);
    QFETCH(QStringList, rootsAfterEmma);
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.order(option.toLatin1().constData());
    const QString persuasionKey = option == u"optSortCategory"
                                      ? editor.tree()->nodes().childKeys(QStringLiteral("CClassics")).last()
                                      : titleNodeKey(library.persuasion);
    editor.doubleClickNode(persuasionKey);
    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command3");
    QCOMPARE(editor.rootTexts(), rootsAfterPersuasion);
    if (option == u"optSortAuthor")
        QCOMPARE(editor.childTexts(QStringLiteral("AAusten, Jane")), QStringList{"Emma"});
    const QString emmaKey = option == u"optSortCategory"
                                ? editor.tree()->nodes().childKeys(QStringLiteral("CClassics")).first()
                                : titleNodeKey(library.emma);
    editor.doubleClickNode(emmaKey);
    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command3");
    QCOMPARE(editor.rootTexts(), rootsAfterEmma);
    QCOMPARE(library.books(), 1);
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM BookCategoryLink")), QVariant(0));
    QCOMPARE(editor.countLabel(), QStringLiteral(" 1 Books on File."));
    QVERIFY(editor.window().newEntry());
}

void TestEditCycle::deleteWithEmptyEditArea()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("typed, not stored"));
    editor.click("Command3");
    QVERIFY(editor.prompter().prompts().isEmpty());
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("typed, not stored"));
    QCOMPARE(library.books(), 3);
}

void TestEditCycle::dateBoxesTickHaveRead()
{
    Library library;
    EditorHarness& editor = library.editor;
    QVERIFY(editor.start());
    // Right after start-up the screen was never cleared: no tick.
    editor.type("txtMonth", QStringLiteral("5"));
    QVERIFY(!editor.box("chkReadBook")->isChecked());
    QVERIFY(editor.window().changesMade());
    editor.prompter().queueAnswer(Answer::No);
    editor.click("Command4");
    editor.type("txtDay", QStringLiteral("5"));
    QVERIFY(editor.box("chkReadBook")->isChecked());
    // Emptying a date box leaves the tick.
    editor.type("txtDay", QString());
    QVERIFY(editor.box("chkReadBook")->isChecked());
    // A stored book's date is edited without a tick.
    editor.prompter().queueAnswer(Answer::No);
    editor.doubleClickNode(titleNodeKey(library.dune));
    editor.type("txtYear", QStringLiteral("2001"));
    QVERIFY(!editor.box("chkReadBook")->isChecked());
}

void TestEditCycle::realQuestionBox()
{
    DialogPrompter prompter;
    QString text, title;
    QStringList buttons;
    QString defaultButton;
    bool icon = true;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text().remove(QLatin1Char('&'));
        defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        icon = box->icon() != QMessageBox::NoIcon;
        box->button(QMessageBox::Cancel)->click();
    });
    const Answer answer = prompter.ask(testing::unsavedChangesQuestion, QStringLiteral("Changes Made"),
                                       Prompter::Buttons::YesNoCancel, Answer::Yes);
    QCOMPARE(answer, Answer::Cancel);
    QCOMPARE(text, testing::unsavedChangesQuestion);
    QCOMPARE(title, QStringLiteral("Changes Made"));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Cancel", "No", "Yes"}));
    QCOMPARE(defaultButton, QStringLiteral("Yes"));
    QVERIFY(!icon);
}

QTEST_MAIN(TestEditCycle)
#include "tst_editcycle.moc"
