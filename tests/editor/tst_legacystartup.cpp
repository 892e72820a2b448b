#include "booktreemodel.h"
#include "booktreeview.h"
#include "editorharness.h"
#include "fileformat.h"
#include "legacystartup.h"
#include "scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using testing::EditorHarness;
using testing::ScriptedPrompter;

namespace {

const QString legacyFile = QStringLiteral("legacy/Shelvio-legacy.mdb");

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Books under the root nodes of the tree as it stands.
int booksUnderRoots(const BookTreeModel& nodes)
{
    int books = 0;
    for (const QString& key : nodes.rootKeys())
        books += nodes.childCount(key);
    return books;
}

} // namespace

class TestLegacyStartup : public QObject {
    Q_OBJECT
private slots:
    void noLeavesTheFileAsItWas();
    void yesConvertsAndTellsWhatCameOver();
    void aJetFileThatIsNoCatalogueIsRefused();
    void editorOpensTheConvertedCatalogue();
    void editorEndsOnNo();
    void aChosenCatalogueIsConvertedWhereItLies();
};

void TestLegacyStartup::noLeavesTheFileAsItWas()
{
    QTemporaryDir folder;
    const QString path = testing::copyFixture(legacyFile, folder.filePath("Shelvio.mdb"));
    const QByteArray before = testing::fileBytes(path);
    ScriptedPrompter prompter;
    prompter.queueAnswer(Prompter::Answer::No);

    QVERIFY(!offerLegacyConversion(path, prompter));
    QCOMPARE(prompter.prompts().size(), 1);
    const auto question = prompter.last();
    QCOMPARE(question.kind, ScriptedPrompter::Prompt::Ask);
    QCOMPARE(question.buttons, Prompter::Buttons::YesNo);
    QCOMPARE(question.title, QString("Convert Catalogue"));
    QVERIFY(question.text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(testing::fileBytes(path), before);
    QCOMPARE(filesIn(folder.path()), QStringList{"Shelvio.mdb"});
}

void TestLegacyStartup::yesConvertsAndTellsWhatCameOver()
{
    QTemporaryDir folder;
    const QString path = testing::copyFixture(legacyFile, folder.filePath("Shelvio.mdb"));
    const QByteArray before = testing::fileBytes(path);
    ScriptedPrompter prompter;
    prompter.queueAnswer(Prompter::Answer::Yes);

    QVERIFY(offerLegacyConversion(path, prompter));
    QCOMPARE(prompter.prompts().size(), 2);
    const auto message = prompter.last();
    QCOMPARE(message.kind, ScriptedPrompter::Prompt::Inform);
    QCOMPARE(message.title, QString("Catalogue Converted"));
    for (const char* part :
         {"40 books", "8 categories", "19 links", "1 of the links points to a book or category"})
        QVERIFY2(message.text.contains(part), qPrintable(message.text));
    const QString kept = folder.filePath("Shelvio (old format).mdb");
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(kept)), qPrintable(message.text));
    QCOMPARE(testing::fileBytes(kept), before);
    QCOMPARE(detectFileKind(path), FileKind::SQLite);
}

void TestLegacyStartup::aJetFileThatIsNoCatalogueIsRefused()
{
    QTemporaryDir folder;
    const QString path = testing::copyFixture("legacy/NotACatalogue.mdb", folder.filePath("Shelvio.mdb"));
    const QByteArray before = testing::fileBytes(path);
    ScriptedPrompter prompter;

    // Told at once, without the question whether to convert it.
    QVERIFY(!offerLegacyConversion(path, prompter));
    QCOMPARE(prompter.prompts().size(), 1);
    QCOMPARE(prompter.last().kind, ScriptedPrompter::Prompt::Inform);
    QCOMPARE(prompter.last().title, QString("Tomarium"));
    for (const char* part : {"is not a Tomarium catalogue", "no table Books", "has been left as it is"})
        QVERIFY2(prompter.last().text.contains(part), qPrintable(prompter.last().text));
    QCOMPARE(testing::fileBytes(path), before);
    QCOMPARE(filesIn(folder.path()), QStringList{"Shelvio.mdb"});
}

void TestLegacyStartup::editorOpensTheConvertedCatalogue()
{
    // The harness's program folder, with an old file where its catalogue was.
    EditorHarness editor;
    QVERIFY(QFile::remove(editor.file().path()));
    testing::copyFixture(legacyFile, editor.file().path());
    editor.prompter().queueAnswer(Prompter::Answer::Yes);
    QVERIFY(editor.start());
    QCOMPARE(editor.prompter().prompts().size(), 2);
    QCOMPARE(editor.countLabel(), QString("40 Books on File."));

    const BookTreeModel& nodes = editor.tree()->nodes();
    QCOMPARE(nodes.rootKeys().size(), 40);
    QVERIFY(editor.rootTexts().contains("Hobbit, The "));
    editor.order("optSortAuthor");
    QCOMPARE(booksUnderRoots(nodes), 40);
    editor.order("optSortCategory");
    QVERIFY(editor.rootTexts().contains("Fiction") && editor.rootTexts().contains("fiction"));
    QCOMPARE(booksUnderRoots(nodes), 18); // the link to the deleted book 12 is not shown

    editor.order("optSortByTitle");
    editor.type("txtTitle", "The Left Hand of Darkness");
    editor.click("Command1");
    QCOMPARE(editor.file().scalar("SELECT max(BookID) FROM Books").toLongLong(), qint64(40003));
    QCOMPARE(editor.countLabel().trimmed(), QString("41 Books on File."));
}

void TestLegacyStartup::editorEndsOnNo()
{
    EditorHarness editor;
    QVERIFY(QFile::remove(editor.file().path()));
    const QByteArray before = testing::fileBytes(testing::copyFixture(legacyFile, editor.file().path()));
    editor.prompter().queueAnswer(Prompter::Answer::No);
    QVERIFY(!editor.start());
    QCOMPARE(editor.prompter().prompts().size(), 1);
    QCOMPARE(testing::fileBytes(editor.file().path()), before);
    QCOMPARE(filesIn(editor.file().folder()), QStringList{"Shelvio.mdb"});
}

void TestLegacyStartup::aChosenCatalogueIsConvertedWhereItLies()
{
    QTemporaryDir programFolder;
    QTemporaryDir folder;
    const QString path = testing::copyFixture(legacyFile, folder.filePath("Books.mdb"));
    ScriptedPrompter prompter;
    prompter.queueAnswer(Prompter::Answer::Yes);
    frmBookList window({path, CatalogueLocation::Place::Chosen}, programFolder.path(), prompter);
    QVERIFY(window.load());
    QVERIFY(prompter.prompts().first().text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(window.catalogue().path(), path);
    QCOMPARE(window.catalogue().bookCount().value_or(-1), qint64(40));
    QCOMPARE(filesIn(folder.path()), (QStringList{"Books (old format).mdb", "Books.mdb"}));
    QVERIFY(QDir(programFolder.path()).isEmpty());
}

QTEST_MAIN(TestLegacyStartup)
#include "tst_legacystartup.moc"
