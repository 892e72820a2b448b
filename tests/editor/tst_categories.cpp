#include "booktreeview.h"
#include "editorharness.h"
#include "nameforms.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace shelvio;
using testing::EditorHarness;
using Answer = Prompter::Answer;

namespace {

int categoryRows(EditorHarness& editor)
{
    return editor.file().scalar(QStringLiteral("SELECT count(*) FROM Category")).toInt();
}

} // namespace

class TestCategories : public QObject {
    Q_OBJECT
private slots:
    void listsSortAsAPersonExpects();
    void movingEntriesBothWays();
    void doubleClickWithoutSelection();
    void addRefusesEmptyAnswers_data();
    void addRefusesEmptyAnswers();
    void addKeepsBlanksAndFindsItsPlace();
    void addRefusesCaseOnlyDuplicates();
    void addRefusesOverlongNames();
    void nameWithApostropheThroughItsWholeLife();
    void deleteWithNothingSelected();
    void deleteUnusedCategory();
    void deleteCategoryUsedByTwoBooks();
    void deleteKeepsCaseOnlyTwinsApart();
    void noEntryStaysSelectedAfterARemoval_data();
    void noEntryStaysSelectedAfterARemoval();
    void keysMoveTheCurrentEntry();
    void realInputBox();
};

void TestCategories::listsSortAsAPersonExpects()
{
    EditorHarness editor;
    for (const char* name : {"Zoology", "art", "Émile", "Emile", "fiction", "Fiction", "Biography"})
        editor.file().addCategory(QString::fromUtf8(name));
    QVERIFY(editor.start());
    QCOMPARE(editor.listEntries("lstCategories"),
             (QStringList{"art", "Biography", "Emile", "Émile", "Fiction", "fiction", "Zoology"}));
    for (const char* name : {"Zoology", "art", "Émile"})
        editor.doubleClickEntry("lstCategories", QString::fromUtf8(name));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), (QStringList{"art", "Émile", "Zoology"}));
}

void TestCategories::movingEntriesBothWays()
{
    EditorHarness editor;
    for (const char* name : {"Biography", "Fiction", "History"})
        editor.file().addCategory(QString::fromLatin1(name));
    const qint64 id = editor.file().addBook(QStringLiteral("Stored"), {}, {}, {"History"});
    QVERIFY(editor.start());
    editor.doubleClickNode(titleNodeKey(id));
    const QByteArray before = editor.file().bytes();
    editor.doubleClickEntry("lstCategories", QStringLiteral("Fiction"));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), (QStringList{"Fiction", "History"}));
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Biography"});
    QVERIFY(editor.window().changesMade());
    editor.click("Command4"); // the question, unanswered: Cancel
    editor.doubleClickEntry("lstCategoriesSelected", QStringLiteral("Fiction"));
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"Biography", "Fiction"}));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"History"});
    QVERIFY(editor.window().changesMade());
    QCOMPARE(editor.file().bytes(), before);
}

void TestCategories::doubleClickWithoutSelection()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Fiction"));
    QVERIFY(editor.start());
    QListWidget* list = editor.list("lstCategories");
    list->clearSelection();
    list->setCurrentItem(nullptr);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
    QTest::mouseDClick(editor.list("lstCategoriesSelected")->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Fiction"});
    QVERIFY(editor.listEntries("lstCategoriesSelected").isEmpty());
    QVERIFY(!editor.window().changesMade());
}

void TestCategories::addRefusesEmptyAnswers_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("answer");
    QTest::newRow("Cancel") << true << QString();
    QTest::newRow("empty") << false << QString();
    QTest::newRow("blanks") << false << QStringLiteral("    ");
}

void TestCategories::addRefusesEmptyAnswers()
{
    QFETCH(bool, cancel);
    QFETCH(QString, answer);
    EditorHarness editor;
    QVERIFY(editor.start());
    editor.prompter().queueText(cancel ? std::nullopt : std::optional<QString>(answer));
    editor.click("Command2");
    const auto& ask = editor.prompter().prompts().first();
    QCOMPARE(ask.text, QStringLiteral("Enter in Name of New Category"));
    QCOMPARE(ask.title, QStringLiteral("New Category"));
    QCOMPARE(editor.prompter().last().text,
             QStringLiteral("No Category Entered...Inserting New Category aborted"));
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Abort Insert"));
    QCOMPARE(categoryRows(editor), 0);
}

void TestCategories::addKeepsBlanksAndFindsItsPlace()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Biography"));
    editor.file().addCategory(QStringLiteral("Poetry"));
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("unsaved"));
    editor.doubleClickEntry("lstCategories", QStringLiteral("Poetry"));
    editor.prompter().queueText(QStringLiteral("  History  "));
    editor.click("Command2");
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"Biography", "  History  "}));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Poetry"});
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT CategoryName FROM Category WHERE CategoryID = 3")),
             QVariant(QStringLiteral("  History  ")));
    QVERIFY(editor.window().changesMade());
    editor.prompter().queueText(QStringLiteral("art"));
    editor.click("Command2");
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"art", "Biography", "  History  "}));
}

void TestCategories::addRefusesCaseOnlyDuplicates()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Fiction"));
    editor.file().addCategory(QStringLiteral("Émile"));
    QVERIFY(editor.start());
    for (const char* name : {"fiction", "ÉMILE", "émile"}) {
        editor.prompter().queueText(QString::fromUtf8(name));
        editor.click("Command2");
        QCOMPARE(editor.prompter().last().text,
                 QStringLiteral("This category is already on file.  Insert aborted."));
        QCOMPARE(editor.prompter().last().title, QStringLiteral("Insert Aborted"));
    }
    QCOMPARE(categoryRows(editor), 2);
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"Émile", "Fiction"}));
}

void TestCategories::addRefusesOverlongNames()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    editor.prompter().queueText(QString(51, QLatin1Char('x')));
    editor.click("Command2");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("at most 50 characters")));
    QCOMPARE(categoryRows(editor), 0);
    editor.prompter().queueText(QString(50, QLatin1Char('x')));
    editor.click("Command2");
    QCOMPARE(categoryRows(editor), 1);
}

void TestCategories::nameWithApostropheThroughItsWholeLife()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    const QString name = QStringLiteral("Children's \"Classics\"");
    editor.prompter().queueText(name);
    editor.click("Command2");
    editor.click("Command4");
    editor.type("txtTitle", QStringLiteral("Alice"));
    editor.doubleClickEntry("lstCategories", name);
    editor.click("Command1");
    const qint64 id = editor.file().scalar(QStringLiteral("SELECT max(BookID) FROM Books")).toLongLong();
    editor.doubleClickNode(titleNodeKey(id));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{name});
    editor.order("optSortCategory");
    QCOMPARE(editor.rootTexts(), QStringList{name});

    editor.click("Command4");
    editor.selectEntry("lstCategories", name);
    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command5");
    QCOMPARE(
        editor.prompter().last().text,
        QStringLiteral("You have selected to delete the category 'Children's \"Classics\"'.  There are 1 "
                       "book(s) that use this category.   Are you sure you want to delete this category?"));
    QCOMPARE(categoryRows(editor), 0);
    QVERIFY(editor.listEntries("lstCategories").isEmpty());
    // The tree is not rebuilt: it shows the category until the next build.
    QCOMPARE(editor.rootTexts(), QStringList{name});
    editor.doubleClickNode(editor.tree()->nodes().childKeys(categoryNodeKey(name)).first());
    QVERIFY(editor.listEntries("lstCategoriesSelected").isEmpty());
}

void TestCategories::deleteWithNothingSelected()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Fiction"));
    const qint64 id = editor.file().addBook(QStringLiteral("Novel"), {}, {}, {"Fiction"});
    QVERIFY(editor.start());
    // A category in the selected list cannot be deleted from there.
    editor.doubleClickNode(titleNodeKey(id));
    editor.selectEntry("lstCategoriesSelected", QStringLiteral("Fiction"));
    const QByteArray before = editor.file().bytes();
    editor.click("Command5");
    QCOMPARE(editor.prompter().last().text,
             QStringLiteral("No Category selected to delete.  Process aborted."));
    QCOMPARE(editor.prompter().last().title, QStringLiteral("No Category Selected"));
    QCOMPARE(editor.file().bytes(), before);
    QCOMPARE(categoryRows(editor), 1);
}

void TestCategories::deleteUnusedCategory()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Reference"));
    editor.file().addCategory(QStringLiteral("Poetry"));
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("unsaved"));
    editor.selectEntry("lstCategories", QStringLiteral("Reference"));
    editor.click("Command5");
    QVERIFY(editor.prompter().prompts().isEmpty());
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Poetry"});
    QCOMPARE(categoryRows(editor), 1);
    QVERIFY(editor.window().changesMade());
}

void TestCategories::deleteCategoryUsedByTwoBooks()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Fiction"));
    editor.file().addCategory(QStringLiteral("History"));
    const qint64 one = editor.file().addBook(QStringLiteral("One"), {}, {}, {"Fiction", "History"});
    editor.file().addBook(QStringLiteral("Two"), {}, {}, {"Fiction"});
    QVERIFY(editor.start());
    editor.selectEntry("lstCategories", QStringLiteral("Fiction"));
    const QByteArray before = editor.file().bytes();
    editor.prompter().queueAnswer(Answer::No);
    editor.click("Command5");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("There are 2 book(s)")));
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Verify Deletion"));
    QCOMPARE(editor.prompter().last().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(editor.file().bytes(), before);
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"Fiction", "History"}));

    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command5");
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"History"});
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM BookCategoryLink")), QVariant(1));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")), QVariant(2));
    editor.doubleClickNode(titleNodeKey(one));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"History"});
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{});
}

void TestCategories::deleteKeepsCaseOnlyTwinsApart()
{
    EditorHarness editor;
    editor.file().exec(
        QStringLiteral("INSERT INTO Category (CategoryID, CategoryName) VALUES (1, 'Fiction'), "
                       "(2, 'fiction')"));
    const qint64 upper = editor.file().addBook(QStringLiteral("Upper"), {}, {}, {"Fiction"});
    const qint64 lower = editor.file().addBook(QStringLiteral("Lower"), {}, {}, {"fiction"});
    editor.file().addBook(QStringLiteral("Lower too"), {}, {}, {"fiction"});
    QVERIFY(editor.start());
    editor.selectEntry("lstCategories", QStringLiteral("fiction"));
    editor.prompter().queueAnswer(Answer::Yes);
    editor.click("Command5");
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("There are 2 book(s)")));
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Fiction"});
    editor.doubleClickNode(titleNodeKey(upper));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Fiction"});
    // Saving a book keeps its link to exactly the category it names.
    editor.type("txtPages", QStringLiteral("10"));
    editor.click("Command1");
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT CategoryKey FROM BookCategoryLink WHERE BookID = ?"),
                                  {upper}),
             QVariant(1));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM BookCategoryLink WHERE BookID = ?"),
                                  {lower}),
             QVariant(0));
}

// After an entry leaves a list (deleted, or moved by a double-click or a
// key), neither list has a selected entry: a second press of Delete Category
// finds nothing to delete instead of the entry's neighbour.
void TestCategories::noEntryStaysSelectedAfterARemoval_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << QStringLiteral("delete");
    QTest::newRow("moved to the book") << QStringLiteral("assign");
    QTest::newRow("moved back") << QStringLiteral("unassign");
    QTest::newRow("moved by Enter") << QStringLiteral("enter");
}

void TestCategories::noEntryStaysSelectedAfterARemoval()
{
    QFETCH(QString, how);
    EditorHarness editor;
    for (const char* name : {"Art", "Biography", "Crime", "Drama"})
        editor.file().addCategory(QString::fromLatin1(name));
    QVERIFY(editor.start());
    const QString picked = QStringLiteral("Biography");
    if (how == QLatin1String("delete")) {
        editor.selectEntry("lstCategories", picked);
        editor.click("Command5");
    } else if (how == QLatin1String("assign")) {
        editor.doubleClickEntry("lstCategories", picked);
    } else if (how == QLatin1String("unassign")) {
        editor.doubleClickEntry("lstCategories", picked);
        editor.doubleClickEntry("lstCategories", QStringLiteral("Crime"));
        editor.doubleClickEntry("lstCategoriesSelected", picked);
    } else {
        editor.selectEntry("lstCategories", picked);
        QTest::keyClick(editor.list("lstCategories"), Qt::Key_Return);
    }
    for (const char* list : {"lstCategories", "lstCategoriesSelected"}) {
        QVERIFY2(editor.list(list)->selectedItems().isEmpty(), list);
        QVERIFY2(!editor.list(list)->currentItem(), list);
    }
    const int categories = categoryRows(editor);
    editor.prompter().clear();
    editor.click("Command5");
    QCOMPARE(editor.prompter().last().text,
             QStringLiteral("No Category selected to delete.  Process aborted."));
    QCOMPARE(categoryRows(editor), categories);
}

// Enter, Return and Space move the current entry as a double-click does.
void TestCategories::keysMoveTheCurrentEntry()
{
    EditorHarness editor;
    for (const char* name : {"Art", "Biography", "Crime"})
        editor.file().addCategory(QString::fromLatin1(name));
    QVERIFY(editor.start());
    QListWidget* available = editor.list("lstCategories");
    QListWidget* selected = editor.list("lstCategoriesSelected");
    available->setFocus();
    QTest::keyClick(available, Qt::Key_Home);
    QTest::keyClick(available, Qt::Key_Down);
    QCOMPARE(available->currentItem()->text(), QStringLiteral("Biography"));
    QTest::keyClick(available, Qt::Key_Enter);
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Biography"});
    QVERIFY(editor.window().changesMade());
    // The current entry need not be selected: the focus frame marks it.
    available->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    QTest::keyClick(available, Qt::Key_Space);
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), (QStringList{"Biography", "Crime"}));
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Art"});
    // A second key with no current entry moves nothing.
    QTest::keyClick(available, Qt::Key_Return);
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Art"});
    selected->setFocus();
    selected->setCurrentRow(0);
    QTest::keyClick(selected, Qt::Key_Space);
    QCOMPARE(editor.listEntries("lstCategories"), (QStringList{"Art", "Biography"}));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Crime"});
}

void TestCategories::realInputBox()
{
    DialogPrompter prompter;
    QString label, title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        label = dialog->labelText();
        title = dialog->windowTitle();
        QVERIFY(dialog->textValue().isEmpty());
        QLineEdit* field = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("Travel"));
        dialog->accept();
    });
    const auto answer =
        prompter.askText(QStringLiteral("Enter in Name of New Category"), QStringLiteral("New Category"));
    QCOMPARE(answer, std::optional<QString>(QStringLiteral("Travel")));
    QCOMPARE(label, QStringLiteral("Enter in Name of New Category"));
    QCOMPARE(title, QStringLiteral("New Category"));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(
        prompter.askText(QStringLiteral("Enter in Name of New Category"), QStringLiteral("New Category")),
        std::nullopt);
}

QTEST_MAIN(TestCategories)
#include "tst_categories.moc"
