#include "catalogue.h"
#include "cataloguesearch.h"
#include "seeding.h"
#include "testcatalogue.h"
#include "textfold.h"

#include <QTest>

using namespace shelvio;
using testing::runAsPlainSqliteTool;
using testing::TestCatalogue;

Q_DECLARE_METATYPE(QList<shelvio::TextRange>)
Q_DECLARE_METATYPE(QList<shelvio::SearchPhrase>)

namespace {

// The titles of the books found for what was typed, ascending by number;
// a failed search gives the store's words.
QStringList foundTitles(Catalogue& catalogue, CatalogueSearch& search, const QString& typed)
{
    const Result<QList<qint64>> found = search.findBooks(searchTerms(typed));
    if (!found)
        return {QStringLiteral("failed: ") + found.error().text()};
    QStringList titles;
    for (qint64 id : *found)
        titles << catalogue.loadBook(id).value_or(Book{}).title;
    return titles;
}

SearchPhrase phrase(const QString& typed, const QStringList& words, bool lastWordIsPrefix = true)
{
    return SearchPhrase{typed, words, lastWordIsPrefix};
}

// Everything of the search index, as a tool that knows nothing of it might
// drop it, with a title changed afterwards.
const QString dropIndex = QStringLiteral(
    "DROP TRIGGER BookSearch_Insert; DROP TRIGGER BookSearch_Delete; DROP TRIGGER BookSearch_Update; "
    "DROP INDEX BookSearch_CategoryBooks; DROP TABLE BookSearch; DROP TABLE BookSearchState;");

// Whether SQLite finds the file's full-text index whole and in step with
// Books.
QString indexProblem(const QString& path)
{
    return runAsPlainSqliteTool(path, QStringLiteral("INSERT INTO BookSearch (BookSearch, rank) "
                                                     "VALUES ('integrity-check', 1)"));
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void readsWordsAndPhrases_data();
    void readsWordsAndPhrases();
    void marksWhatMatches_data();
    void marksWhatMatches();
    void indexFoldsAsTheOrderingsDo_data();
    void indexFoldsAsTheOrderingsDo();
    void followsChangesByAnotherTool_data();
    void followsChangesByAnotherTool();
    void buildsMissingOrOutdatedIndexOnOpen_data();
    void buildsMissingOrOutdatedIndexOnOpen();
    void searchesReadOnlyCatalogueWithoutIndex();
    void findsBooksByCategoryAndText();
    void readsBooksInTheOrderGiven();
};

// clang-format off
void TestSearch::readsWordsAndPhrases_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<SearchPhrase>>("expected");
    QTest::newRow("one word") << "Hobbit" << QList{phrase("Hobbit", {"hobbit"})};
    QTest::newRow("accents and case") << "ÉMILE Brontë" << QList{phrase("ÉMILE", {"emile"}), phrase("Brontë", {"bronte"})};
    QTest::newRow("blanks at the ends") << "  tolkien \t hobbit  " << QList{phrase("tolkien", {"tolkien"}), phrase("hobbit", {"hobbit"})};
    QTest::newRow("closed quote") << "\"the hobbit\" tolkien" << QList{phrase("the hobbit", {"the", "hobbit"}, false), phrase("tolkien", {"tolkien"})};
    QTest::newRow("open quote") << "tolkien \"the hob" << QList{phrase("tolkien", {"tolkien"}), phrase("the hob", {"the", "hob"})};
    QTest::newRow("punctuation inside a word") << "O'Brien" << QList{phrase("O'Brien", {"o", "brien"})};
    QTest::newRow("query syntax is text") << "NOT title:x* (a OR b)" << QList{phrase("NOT", {"not"}), phrase("title:x*", {"title", "x"}), phrase("(a", {"a"}), phrase("OR", {"or"}), phrase("b)", {"b"})};
    QTest::newRow("no letters") << " - \"\" * " << QList<SearchPhrase>{};
    QTest::newRow("empty") << "" << QList<SearchPhrase>{};
}
// clang-format on

void TestSearch::readsWordsAndPhrases()
{
    QFETCH(QString, typed);
    QFETCH(QList<SearchPhrase>, expected);
    QCOMPARE(searchTerms(typed).phrases, expected);
}

// clang-format off
void TestSearch::marksWhatMatches_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<TextRange>>("expected");
    QTest::newRow("accented word") << "emile" << "Émile, or On Education" << QList<TextRange>{{0, 5}};
    QTest::newRow("start of a word marks the word") << "educ" << "Émile, or On Education" << QList<TextRange>{{13, 9}};
    QTest::newRow("not inside a word") << "ile" << "Émile" << QList<TextRange>{};
    QTest::newRow("every place") << "the" << "The Lord of the Rings" << QList<TextRange>{{0, 3}, {12, 3}};
    QTest::newRow("phrase") << "\"lord of\"" << "The Lord of the Rings" << QList<TextRange>{{4, 7}};
    QTest::newRow("closed phrase is whole words") << "\"lord o\"" << "The Lord of the Rings" << QList<TextRange>{};
    QTest::newRow("phrase across punctuation") << "\"heights wuthering\"" << "Heights, Wuthering" << QList<TextRange>{{0, 18}};
    QTest::newRow("overlapping words joined") << "lord lo" << "Lord" << QList<TextRange>{{0, 4}};
    QTest::newRow("decomposed accent") << "zoe" << "Zoe\u0308 Heller" << QList<TextRange>{{0, 4}};
    QTest::newRow("nothing typed") << "" << "The Hobbit" << QList<TextRange>{};
}
// clang-format on

void TestSearch::marksWhatMatches()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QList<TextRange>, expected);
    QCOMPARE(matchedRanges(text, searchTerms(typed)), expected);
}

// The index folds words itself, as SQLite's tokenizer does; a word typed
// without accents or in another case must find what the orderings put
// beside it.
void TestSearch::indexFoldsAsTheOrderingsDo_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::newRow("acute") << "Émile"
                           << "emile";
    QTest::newRow("diaeresis") << "Brontë"
                               << "bronte";
    QTest::newRow("caron") << "Dvořák"
                           << "dvorak";
    QTest::newRow("cedilla") << "Façade"
                             << "facade";
    QTest::newRow("ring") << "Ångström"
                          << "angstrom";
    QTest::newRow("tilde") << "São"
                           << "sao";
    QTest::newRow("upper case typed") << "émile"
                                      << "ÉMILE";
    QTest::newRow("accent typed") << "Emile"
                                  << "Émile";
    QTest::newRow("letter without accent form") << "Æsir"
                                                << "æsir";
}

void TestSearch::indexFoldsAsTheOrderingsDo()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    TestCatalogue file;
    file.addBook(stored);
    file.addBook(QStringLiteral("Something Else"));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    CatalogueSearch search(catalogue);
    QCOMPARE(foundTitles(catalogue, search, typed), QStringList{stored});
    // The orderings put the two together too.
    QCOMPARE(sortKey(stored), sortKey(typed));
}

void TestSearch::followsChangesByAnotherTool_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    const QStringList hobbit{QStringLiteral("The Hobbit")};
    QTest::newRow("new book") << "INSERT INTO Books (Title, Author) VALUES ('Zanzibar', 'Nobody')"
                              << "zanzibar" << QStringList{"Zanzibar"};
    QTest::newRow("title changed: new text") << "UPDATE Books SET Title = 'Quenta' WHERE Title = 'The Hobbit'"
                                             << "quenta" << QStringList{"Quenta"};
    QTest::newRow("title changed: old text") << "UPDATE Books SET Title = 'Quenta' WHERE Title = 'The Hobbit'"
                                             << "hobbit" << QStringList{};
    QTest::newRow("first name changed") << "UPDATE Books SET GA1 = 'Ronald' WHERE Title = 'The Hobbit'"
                                        << "ronald" << hobbit;
    QTest::newRow("comments changed") << "UPDATE Books SET Comments = 'a dragon' WHERE Title = 'The Hobbit'"
                                      << "dragon" << hobbit;
    QTest::newRow("other column changed") << "UPDATE Books SET Pages = 310 WHERE Title = 'The Hobbit'"
                                          << "tolkien" << hobbit;
    QTest::newRow("book number changed") << "UPDATE Books SET BookID = 99 WHERE Title = 'The Hobbit'"
                                         << "hobbit" << hobbit;
    QTest::newRow("deleted") << "DELETE FROM Books WHERE Title = 'The Hobbit'"
                             << "tolkien" << QStringList{};
    // REPLACE deletes the old row without firing a trigger: the index falls
    // behind and is built again.
    QTest::newRow("replaced: new text")
        << "REPLACE INTO Books (BookID, Title) SELECT BookID, 'Quenta' FROM Books WHERE Title = 'The Hobbit'"
        << "quenta" << QStringList{"Quenta"};
    QTest::newRow("replaced: old text")
        << "REPLACE INTO Books (BookID, Title) SELECT BookID, 'Quenta' FROM Books WHERE Title = 'The Hobbit'"
        << "tolkien" << QStringList{};
}

void TestSearch::followsChangesByAnotherTool()
{
    QFETCH(QString, sql);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    TestCatalogue file;
    file.addBook(QStringLiteral("The Hobbit"), QStringLiteral("Tolkien"));
    file.addBook(QStringLiteral("Jane Eyre"), QStringLiteral("Brontë"));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    CatalogueSearch search(catalogue);
    QCOMPARE(foundTitles(catalogue, search, QStringLiteral("tolkien")), QStringList{"The Hobbit"});

    QCOMPARE(runAsPlainSqliteTool(file.path(), sql), QString());
    QCOMPARE(foundTitles(catalogue, search, typed), expected);
    QCOMPARE(indexProblem(file.path()), QString());
}

void TestSearch::buildsMissingOrOutdatedIndexOnOpen_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("no index") << dropIndex + QStringLiteral("UPDATE Books SET Title = 'Quenta'");
    QTest::newRow("a trigger missing") << "DROP TRIGGER BookSearch_Update; UPDATE Books SET Title = 'Quenta'";
    QTest::newRow("index of another form")
        << "DROP TRIGGER BookSearch_Update; UPDATE Books SET Title = 'Quenta'; "
           "CREATE TRIGGER BookSearch_Update AFTER UPDATE ON Books BEGIN SELECT 1; END; "
           "UPDATE BookSearchState SET Version = Version + 1";
    QTest::newRow("no state") << "DROP TABLE BookSearchState";
    QTest::newRow("no index of the links") << "DROP INDEX BookSearch_CategoryBooks";
}

void TestSearch::buildsMissingOrOutdatedIndexOnOpen()
{
    QFETCH(QString, sql);
    TestCatalogue file;
    file.addBook(QStringLiteral("The Hobbit"));
    QCOMPARE(runAsPlainSqliteTool(file.path(), sql), QString());
    const QString title = file.scalar(QStringLiteral("SELECT Title FROM Books")).toString();

    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    QCOMPARE(indexProblem(file.path()), QString());
    CatalogueSearch search(catalogue);
    QCOMPARE(foundTitles(catalogue, search, title), QStringList{title});
    QCOMPARE(
        foundTitles(catalogue, search,
                    title == QLatin1String("Quenta") ? QStringLiteral("hobbit") : QStringLiteral("quenta")),
        QStringList{});
}

// A file that may not be written is searched all the same, through a copy
// of the index that lives with the connection; the file is not touched.
void TestSearch::searchesReadOnlyCatalogueWithoutIndex()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("The Hobbit"), QStringLiteral("Tolkien"));
    QCOMPARE(runAsPlainSqliteTool(file.path(), dropIndex), QString());
    const QByteArray before = file.bytes();
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path(), Access::ReadOnly), Catalogue::OpenStatus::ReadOnly);
    CatalogueSearch search(catalogue);
    QCOMPARE(foundTitles(catalogue, search, QStringLiteral("tolkien")), QStringList{"The Hobbit"});
    QCOMPARE(file.bytes(), before);

    // Another program adds a book: the copy is made again.
    QCOMPARE(
        runAsPlainSqliteTool(file.path(), QStringLiteral("INSERT INTO Books (Title) VALUES ('Tolkien')")),
        QString());
    QCOMPARE(foundTitles(catalogue, search, QStringLiteral("tolkien")),
             (QStringList{"The Hobbit", "Tolkien"}));
    catalogue.close();
    QCOMPARE(file.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'BookSearch'")), 0);
}

// A word found in a category name finds the category's books; each word
// may be found in a different field.
void TestSearch::findsBooksByCategoryAndText()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("Science Fiction"));
    file.addCategory(QStringLiteral("Fiction"));
    file.addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), {}, {QStringLiteral("Science Fiction")});
    file.addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), {}, {QStringLiteral("Fiction")});
    file.addBook(QStringLiteral("Fiction and Truth"), QStringLiteral("Austen"));
    // A link left behind by a book deleted long ago finds nothing.
    file.exec(QStringLiteral("INSERT INTO BookCategoryLink (BookID, CategoryKey) VALUES (999, 2)"));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    CatalogueSearch search(catalogue);
    const auto found = [&](const char* typed) {
        return foundTitles(catalogue, search, QString::fromUtf8(typed));
    };
    QCOMPARE(found("fiction"), (QStringList{"Dune", "Emma", "Fiction and Truth"}));
    QCOMPARE(found("\"science fiction\""), QStringList{"Dune"});
    QCOMPARE(found("austen fiction"), (QStringList{"Emma", "Fiction and Truth"}));
    QCOMPARE(found("fiction herbert"), QStringList{"Dune"});
    QCOMPARE(found("science austen"), QStringList{});
}

void TestSearch::readsBooksInTheOrderGiven()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("Fantasy"));
    const qint64 hobbit = file.addBook(QStringLiteral("The Hobbit"), {}, {}, {QStringLiteral("Fantasy")});
    const qint64 emma = file.addBook(QStringLiteral("Emma"));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    CatalogueSearch search(catalogue);
    const Result<QList<Book>> books = search.books({emma, 12345, hobbit});
    QVERIFY(books.ok());
    QCOMPARE(books->size(), 2);
    QCOMPARE(books->at(0).title, QStringLiteral("Emma"));
    QCOMPARE(books->at(1).title, QStringLiteral("The Hobbit"));
    QCOMPARE(books->at(1).categories, QStringList{"Fantasy"});
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
