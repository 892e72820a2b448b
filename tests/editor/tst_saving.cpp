#include "booktreeview.h"
#include "editorharness.h"
#include "nameforms.h"

#include <QTest>

using namespace shelvio;
using namespace Qt::StringLiterals;
using testing::EditorHarness;

namespace {

// Fills the edit area for a new book after the screen was cleared once.
void typeBook(EditorHarness& editor, const QString& title, const QString& last = {},
              const QString& first = {})
{
    editor.type("txtTitle", title);
    editor.type("txtAuthor", last);
    editor.type("txtAuthorFirstName", first);
}

QVariantList storedRow(EditorHarness& editor, const QString& columns, qint64 id)
{
    return editor.file()
        .rows(QStringLiteral("SELECT %1 FROM Books WHERE BookID = ?").arg(columns), {id})
        .value(0);
}

qint64 lastBookId(EditorHarness& editor)
{
    return editor.file().scalar(QStringLiteral("SELECT max(BookID) FROM Books")).toLongLong();
}

} // namespace

class TestSaving : public QObject {
    Q_OBJECT
private slots:
    void storesWhatWasTyped();
    void oddTextComesBackAsTyped_data();
    void oddTextComesBackAsTyped();
    void numbersAndDates_data();
    void numbersAndDates();
    void refusesNumbersTheColumnCannotHold();
    void ratingBoxes();
    void missingTitle();
    void newBookInTitleOrdering();
    void newBookInAuthorOrdering();
    void newBookInCategoryOrdering();
    void storedBookInTitleOrdering();
    void storedBookInAuthorOrdering();
    void failedSaveKeepsTheInput();
    void bookDeletedByAnotherProgram_data();
    void bookDeletedByAnotherProgram();
};

void TestSaving::storesWhatWasTyped()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Children's"));
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("Charlotte's \"Web\" — Паутина"), QStringLiteral(" O'Brien "),
             QStringLiteral("Émile"));
    editor.comments()->setPlainText(QStringLiteral("Line one\nline 'two'"));
    editor.doubleClickEntry("lstCategories", QStringLiteral("Children's"));
    editor.click("chkOwnBook");
    editor.click("Command1");
    QVERIFY(editor.prompter().prompts().isEmpty());
    const qint64 id = lastBookId(editor);
    QCOMPARE(storedRow(editor,
                       QStringLiteral("Title, Author, GA1, GA2, Comments, OwnBook, WantToBuy, ReadBook, "
                                      "GB1, DateRead, Rating"),
                       id),
             (QVariantList{"Charlotte's \"Web\" — Паутина", " O'Brien ", "Émile",
                           "Charlotte's \"Web\" — Паутина", "Line one\nline 'two'", 1, 0, 0, 0, "//", 0}));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT CategoryKey FROM BookCategoryLink WHERE BookID = ?"),
                                  {id}),
             QVariant(1));
    // The edit area is ready for the next book.
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
    QVERIFY(editor.text("txtBookID")->text().isEmpty());
    QVERIFY(!editor.window().changesMade());
    QVERIFY(editor.window().newEntry());
    QCOMPARE(editor.listEntries("lstCategories"), QStringList{"Children's"});
    QCOMPARE(editor.countLabel(), QStringLiteral(" 1 Books on File."));

    editor.doubleClickNode(titleNodeKey(id));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Charlotte's \"Web\" — Паутина"));
    QCOMPARE(editor.text("txtAuthor")->text(), QStringLiteral(" O'Brien "));
    QCOMPARE(editor.comments()->toPlainText(), QStringLiteral("Line one\nline 'two'"));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Children's"});
    QVERIFY(editor.box("chkOwnBook")->isChecked());
}

void TestSaving::oddTextComesBackAsTyped_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    const QList<QPair<const char*, QString>> texts{
        {"quotes", QStringLiteral("It's \"quoted\" and 'single' and `back`")},
        {"backslashes", QStringLiteral("C:\\Books\\ \\' \\\" \\n")},
        {"wildcards", QStringLiteral("100% of _all_ books; DROP TABLE Books; --")},
        {"newlines and tabs", QStringLiteral("one\ntwo\n\nthree\tfour")},
        {"control characters", QString::fromUtf16(u"bell\u0007 escape\u001b null\u0000 end")},
        {"right to left",
         QString::fromUtf16(u"\u05e1\u05e4\u05e8\u05d9\u05dd \u202eevil\u202c \u0643\u062a\u0628")},
        {"combining", QString::fromUtf16(u"Cafe\u0301 n\u0303 Z\u0327\u030c")},
        {"emoji", QString::fromUtf16(u"\U0001F4DA Books \U0001F468\u200D\U0001F469\u200D\U0001F467")},
        {"lone surrogate", QString::fromUtf16(u"before ") + QChar(0xD800) + QStringLiteral(" after")},
        {"100,000 characters", QString(100000, u'x') + QStringLiteral("END")},
    };
    for (const char* box : {"txtTitle", "txtAuthor", "txtAuthorFirstName", "txtComments"}) {
        for (const auto& [name, text] : texts)
            QTest::addRow("%s: %s", box, name) << QString::fromLatin1(box) << text;
    }
}

// Whatever is typed is stored and shown again exactly as the box took it; a
// text box takes no more than its column holds, so a long text is cut where
// the user sees it, never after Save. A text that cannot be stored as typed
// (a lone half of a surrogate pair) is refused with a message.
void TestSaving::oddTextComesBackAsTyped()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    EditorHarness editor;
    QVERIFY(editor.start());
    editor.type("txtTitle", QStringLiteral("Plain"));
    QString shown;
    if (box == u"txtComments"_s) {
        editor.comments()->setFocus();
        editor.comments()->insertPlainText(text);
        shown = editor.comments()->toPlainText();
    } else {
        editor.type(qPrintable(box), text);
        shown = editor.text(qPrintable(box))->text();
        QVERIFY(shown.size() <= 255);
    }
    QVERIFY2(text.startsWith(shown) || shown == text, "the box changed what was typed");
    editor.click("Command1");
    if (!editor.prompter().prompts().isEmpty()) {
        QVERIFY2(!shown.isValidUtf16(), qPrintable(editor.prompter().last().text));
        QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")).toInt(), 0);
        return;
    }
    QVERIFY(shown.isValidUtf16());
    const qint64 id = lastBookId(editor);
    editor.doubleClickNode(titleNodeKey(id));
    const QString again =
        box == u"txtComments"_s ? editor.comments()->toPlainText() : editor.text(qPrintable(box))->text();
    QCOMPARE(again.size(), shown.size());
    QVERIFY(again == shown);
}

// clang-format off
void TestSaving::numbersAndDates_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QStringList>("date");
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QStringList>("shown"); // year, pages, cost, month, day, year read
    QTest::newRow("numbers") << "1937" << "310" << "12.50" << QStringList{"3", "14", "2001"}
                             << QVariantList{1937, 310, 12.5, "3/14/2001"}
                             << QStringList{"1937", "310", "12.5", "3", "14", "2001"};
    QTest::newRow("words and blanks") << "circa 1900" << "" << "cheap" << QStringList{"", "", ""}
                                      << QVariantList{"null", "null", "null", "//"}
                                      << QStringList{"", "", "", "", "", ""};
    QTest::newRow("signs, blanks, fractions") << " 1937 " << "99.5" << "$1,234.56789" << QStringList{"", "", "2004"}
                                              << QVariantList{1937, 100, 1234.5679, "//2004"}
                                              << QStringList{"1937", "100", "1234.5679", "", "", "2004"};
}
// clang-format on

void TestSaving::numbersAndDates()
{
    QFETCH(QString, year);
    QFETCH(QString, pages);
    QFETCH(QString, cost);
    QFETCH(QStringList, date);
    QFETCH(QVariantList, stored);
    QFETCH(QStringList, shown);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    EditorHarness editor;
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("Numbers"));
    editor.type("txtYrPub", year);
    editor.type("txtPages", pages);
    editor.type("txtCost", cost);
    editor.type("txtMonth", date.at(0));
    editor.type("txtDay", date.at(1));
    editor.type("txtYear", date.at(2));
    editor.click("Command1");
    QVERIFY(editor.prompter().prompts().isEmpty());
    const qint64 id = lastBookId(editor);
    QCOMPARE(storedRow(
                 editor,
                 QStringLiteral("ifnull(YearPublished, 'null'), ifnull(Pages, 'null'), ifnull(Cost, 'null'), "
                                "DateRead"),
                 id),
             stored);
    editor.doubleClickNode(titleNodeKey(id));
    QCOMPARE((QStringList{editor.text("txtYrPub")->text(), editor.text("txtPages")->text(),
                          editor.text("txtCost")->text(), editor.text("txtMonth")->text(),
                          editor.text("txtDay")->text(), editor.text("txtYear")->text()}),
             shown);
}

void TestSaving::refusesNumbersTheColumnCannotHold()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("Too big"));
    editor.type("txtPages", QStringLiteral("99999999999"));
    editor.click("Command1");
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("number of pages")));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")), QVariant(0));
    QCOMPARE(editor.text("txtPages")->text(), QStringLiteral("99999999999"));
    QVERIFY(editor.window().changesMade());
    // Refused like a missing title: Clear Screen after Yes keeps the input.
    editor.prompter().queueAnswer(Prompter::Answer::Yes);
    editor.click("Command4");
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Too big"));
}

void TestSaving::ratingBoxes()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("Rated"));
    editor.click("chkRating2");
    editor.click("chkRating10");
    editor.click("Command1");
    const qint64 id = lastBookId(editor);
    QCOMPARE(storedRow(editor, QStringLiteral("Rating"), id), QVariantList{9});
    editor.doubleClickNode(titleNodeKey(id));
    QStringList ticked;
    for (const char* box : {"chkRating2", "chkRating4", "chkRating6", "chkRating8", "chkRating10"}) {
        if (editor.box(box)->isChecked())
            ticked << QString::fromLatin1(box);
    }
    QCOMPARE(ticked, (QStringList{"chkRating8", "chkRating10"}));
}

void TestSaving::missingTitle()
{
    EditorHarness editor;
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("   "), QStringLiteral("Nobody"));
    editor.click("Command1");
    QCOMPARE(editor.prompter().last().text,
             QStringLiteral("A title is required to save.  Please enter a title"));
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Missing Title"));
    QCOMPARE(editor.prompter().last().buttons, Prompter::Buttons::Ok);
    QCOMPARE(editor.text("txtAuthor")->text(), QStringLiteral("Nobody"));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")), QVariant(0));
    // Save right after a completed save: the edit area is empty again.
    typeBook(editor, QStringLiteral("Real"));
    editor.click("Command1");
    editor.prompter().clear();
    editor.click("Command1");
    QCOMPARE(editor.prompter().last().title, QStringLiteral("Missing Title"));
    QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")), QVariant(1));
}

void TestSaving::newBookInTitleOrdering()
{
    EditorHarness editor;
    editor.file().addManyBooks(
        11, [](int i) { return testing::book(QStringLiteral("Book %1").arg(i, 2, 10, QLatin1Char('0'))); });
    QVERIFY(editor.start());
    typeBook(editor, QStringLiteral("A Aardvark"));
    editor.click("Command1");
    // Added last; the next build puts it in its place.
    const qint64 id = lastBookId(editor);
    QCOMPARE(editor.tree()->nodes().rootKeys().last(), titleNodeKey(id));
    QCOMPARE(editor.rootTexts().last(), QStringLiteral("Aardvark, A"));
    QCOMPARE(editor.countLabel(), QStringLiteral(" 12 Books on File."));
    editor.order("optSortByTitle");
    QCOMPARE(editor.rootTexts().first(), QStringLiteral("Aardvark, A"));
    QCOMPARE(editor.countLabel(), QStringLiteral("12 Books on File."));
}

void TestSaving::newBookInAuthorOrdering()
{
    EditorHarness editor;
    editor.file().addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    QVERIFY(editor.start());
    editor.order("optSortAuthor");
    typeBook(editor, QStringLiteral("Persuasion"), QStringLiteral("Austen "), QStringLiteral("Jane"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), QStringList{"Austen, Jane"});
    QCOMPARE(editor.childTexts(QStringLiteral("AAusten, Jane")), (QStringList{"Emma", "Persuasion"}));
    typeBook(editor, QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Austen, Jane", "Herbert, Frank"}));
    QCOMPARE(editor.childTexts(QStringLiteral("AHerbert, Frank")), QStringList{"Dune"});
    QCOMPARE(editor.tree()->nodes().childKeys(QStringLiteral("AHerbert, Frank")),
             QStringList{titleNodeKey(lastBookId(editor))});
}

void TestSaving::newBookInCategoryOrdering()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("History"));
    editor.file().addCategory(QStringLiteral("Poetry"));
    QVERIFY(editor.start());
    editor.order("optSortCategory");
    typeBook(editor, QStringLiteral("Iliad"));
    editor.doubleClickEntry("lstCategories", QStringLiteral("Poetry"));
    editor.doubleClickEntry("lstCategories", QStringLiteral("History"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"History", "Poetry"}));
    QCOMPARE(editor.childTexts(QStringLiteral("CPoetry")), QStringList{"Iliad"});
    QCOMPARE(editor.countLabel(), QStringLiteral(" 1 Books on File."));
}

void TestSaving::storedBookInTitleOrdering()
{
    EditorHarness editor;
    const qint64 a = editor.file().addBook(QStringLiteral("Alpha"));
    editor.file().addBook(QStringLiteral("Beta"));
    QVERIFY(editor.start());
    editor.doubleClickNode(titleNodeKey(a));
    editor.type("txtAuthor", QStringLiteral("Changed author only"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Alpha", "Beta"}));
    editor.doubleClickNode(titleNodeKey(a));
    editor.type("txtTitle", QStringLiteral("The Omega"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Beta", "Omega, The "}));
    QCOMPARE(editor.tree()->nodes().rootKeys().last(), titleNodeKey(a));
    QCOMPARE(storedRow(editor, QStringLiteral("Title, GA2, Author"), a),
             (QVariantList{"The Omega", "Omega, The ", "Changed author only"}));
}

void TestSaving::storedBookInAuthorOrdering()
{
    EditorHarness editor;
    const qint64 emma =
        editor.file().addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    const qint64 persuasion =
        editor.file().addBook(QStringLiteral("Persuasion"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    const qint64 dune =
        editor.file().addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    QVERIFY(editor.start());
    editor.order("optSortAuthor");

    // One of two books moves to a new author: the old node stays with the other.
    editor.doubleClickNode(titleNodeKey(emma));
    editor.type("txtAuthor", QStringLiteral("Bronte"));
    editor.type("txtAuthorFirstName", QStringLiteral("Emily"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Austen, Jane", "Herbert, Frank", "Bronte, Emily"}));
    QCOMPARE(editor.childTexts(QStringLiteral("AAusten, Jane")), QStringList{"Persuasion"});

    // The only book of an author moves to an existing author: its node goes.
    editor.doubleClickNode(titleNodeKey(dune));
    editor.type("txtAuthor", QStringLiteral("Austen"));
    editor.type("txtAuthorFirstName", QStringLiteral("Jane"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Austen, Jane", "Bronte, Emily"}));
    QCOMPARE(editor.childTexts(QStringLiteral("AAusten, Jane")), (QStringList{"Persuasion", "Dune"}));

    // A new title under an unchanged sole author keeps the author's node.
    editor.doubleClickNode(titleNodeKey(emma));
    editor.type("txtTitle", QStringLiteral("Wuthering Heights"));
    editor.click("Command1");
    QCOMPARE(editor.rootTexts(), (QStringList{"Austen, Jane", "Bronte, Emily"}));
    QCOMPARE(editor.childTexts(QStringLiteral("ABronte, Emily")), QStringList{"Wuthering Heights"});

    // Nothing that shows in the tree changed: the tree stays as it was.
    const QStringList before = editor.tree()->nodes().childKeys(QStringLiteral("AAusten, Jane"));
    editor.doubleClickNode(titleNodeKey(persuasion));
    editor.type("txtPages", QStringLiteral("250"));
    editor.click("Command1");
    QCOMPARE(editor.tree()->nodes().childKeys(QStringLiteral("AAusten, Jane")), before);
    QVERIFY(editor.prompter().prompts().isEmpty());
}

void TestSaving::failedSaveKeepsTheInput()
{
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("History"));
    const qint64 id = editor.file().addBook(QStringLiteral("Kept"), {}, {}, {"History"});
    editor.file().exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON BookCategoryLink "
                                      "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"));
    QVERIFY(editor.start());
    editor.doubleClickNode(titleNodeKey(id));
    editor.type("txtTitle", QStringLiteral("Changed"));
    const QByteArray before = editor.file().bytes();
    editor.click("Command1");
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("could not be saved")));
    QVERIFY(editor.prompter().last().text.contains(QStringLiteral("disk trouble")));
    QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Changed"));
    QCOMPARE(editor.text("txtBookID")->text(), QString::number(id));
    QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"History"});
    QVERIFY(editor.window().changesMade());
    QCOMPARE(editor.file().bytes(), before);
    QCOMPARE(editor.rootTexts(), QStringList{"Kept"});
    // Closing then asks again and stays open when the save fails once more.
    editor.prompter().queueAnswer(Prompter::Answer::Yes);
    QVERIFY(!editor.window().close());
}

// The book on screen was deleted by another program before Save: the user
// is asked whether to save it as a new book; nothing is written for the
// book that is gone.
void TestSaving::bookDeletedByAnotherProgram_data()
{
    QTest::addColumn<QString>("ordering");
    QTest::addColumn<bool>("saveAsNew");
    for (const char* ordering : {"optSortByTitle", "optSortAuthor", "optSortCategory"}) {
        QTest::addRow("%s, Yes", ordering) << QString::fromLatin1(ordering) << true;
        QTest::addRow("%s, No", ordering) << QString::fromLatin1(ordering) << false;
    }
}

void TestSaving::bookDeletedByAnotherProgram()
{
    QFETCH(QString, ordering);
    QFETCH(bool, saveAsNew);
    EditorHarness editor;
    editor.file().addCategory(QStringLiteral("Poetry"));
    const qint64 gone =
        editor.file().addBook(QStringLiteral("Odes"), QStringLiteral("Keats"), {}, {"Poetry"});
    QVERIFY(editor.start());
    editor.order(ordering.toLatin1().constData());
    editor.doubleClickNode(ordering == QLatin1String("optSortCategory") ? categoryBookNodeKey(0, gone)
                                                                        : titleNodeKey(gone));
    editor.file().exec(QStringLiteral("DELETE FROM BookCategoryLink WHERE BookID = ?"), {gone});
    editor.file().exec(QStringLiteral("DELETE FROM Books WHERE BookID = ?"), {gone});
    editor.type("txtTitle", QStringLiteral("Odes, revised"));
    editor.prompter().clear();
    editor.prompter().queueAnswer(saveAsNew ? Prompter::Answer::Yes : Prompter::Answer::No);

    QCOMPARE(editor.window().Save(), saveAsNew);
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QVERIFY2(editor.prompter().last().text.contains(QStringLiteral("no longer in the catalogue")),
             qPrintable(editor.prompter().last().text));
    QCOMPARE(editor.prompter().last().buttons, Prompter::Buttons::YesNo);
    const auto links = editor.file().rows(QStringLiteral("SELECT BookID, CategoryKey FROM BookCategoryLink"));
    if (!saveAsNew) {
        QCOMPARE(editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")).toInt(), 0);
        QVERIFY(links.isEmpty());
        QCOMPARE(editor.text("txtTitle")->text(), QStringLiteral("Odes, revised"));
        QCOMPARE(editor.listEntries("lstCategoriesSelected"), QStringList{"Poetry"});
        QVERIFY(editor.window().changesMade());
        return;
    }
    const qint64 added = lastBookId(editor);
    QVERIFY(added > gone);
    QCOMPARE(storedRow(editor, QStringLiteral("Title, Author"), added),
             (QVariantList{"Odes, revised", "Keats"}));
    QCOMPARE(links, (QList<QVariantList>{{added, 1}}));
    QVERIFY(editor.text("txtTitle")->text().isEmpty());
    const BookTreeModel& nodes = editor.tree()->nodes();
    QVERIFY(!nodes.contains(titleNodeKey(gone)));
    if (ordering == QLatin1String("optSortCategory"))
        QCOMPARE(editor.childTexts(categoryNodeKey(QStringLiteral("Poetry"))), QStringList{"Odes, revised"});
    else
        QCOMPARE(nodes.text(titleNodeKey(added)), QStringLiteral("Odes, revised"));
}

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
