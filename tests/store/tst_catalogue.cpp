#include "catalogue.h"
#include "connection.h"
#include "schema.h"
#include "testcatalogue.h"

#include <QFile>
#include <QSemaphore>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace shelvio;
using testing::categoriesOf;
using testing::TestCatalogue;

namespace {

// Another program that takes the write lock on the file for a while.
class LockHolder : public QThread {
public:
    LockHolder(const QString& path, int milliseconds)
        : m_path(path)
        , m_milliseconds(milliseconds)
    {
    }
    QSemaphore locked;

protected:
    void run() override
    {
        QSqlDatabase db = testing::openOrStop(m_path);
        {
            QSqlQuery query(db);
            query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
            locked.release();
            msleep(m_milliseconds);
            query.exec(QStringLiteral("COMMIT"));
        }
        shelvio::closeConnection(db);
    }

private:
    QString m_path;
    int m_milliseconds;
};

// The sort titles in the tree's title order; a failed read ends the list
// with the store's words.
QStringList titlesInOrder(Catalogue& catalogue)
{
    return testing::listedTitles(catalogue.booksByTitle());
}

} // namespace

class TestCatalogueFile : public QObject {
    Q_OBJECT
private slots:
    void createsFullSchema();
    void reopensExistingCatalogue();
    void leavesForeignFilesUntouched_data();
    void leavesForeignFilesUntouched();
    void opensReadOnlyForBrowsing();
    void roundTripsEveryValueExactly();
    void keepsNullsNull();
    void ordersTitlesAsAPersonExpects();
    void ordersAuthorsByTrimmedNames();
    void keepsCaseOnlyCategoriesApart();
    void bookNumbersBeyondSixteenBits();
    void savesAndDeletesLinksWithTheBook();
    void failedSaveLeavesCatalogueUnchanged();
    void categoryNamesCompareWithoutCase();
    void deletesCategoryByExactName();
    void refusesOverlongCategoryName();
    void newBookNeverReusesANumber();
    void countFollowsEveryWriter();
    void waitsOutAShortLock();
    void givesUpOnALongLock();
};

void TestCatalogueFile::createsFullSchema()
{
    TestCatalogue file;
    const auto columns = [&](const QString& table) {
        QStringList names;
        for (const auto& row :
             file.rows(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table}))
            names << row.at(0).toString();
        return names;
    };
    const QStringList books = columns(QStringLiteral("Books"));
    QCOMPARE(books.size(), 40);
    QCOMPARE(books, schema::bookColumns());
    QCOMPARE(books.mid(0, 15),
             (QStringList{"BookID", "Title", "Author", "YearPublished", "Rating", "DateRead", "Comments",
                          "Cost", "Category", "WantToBuy", "OwnBook", "Pages", "ReadBook", "GA1", "GA2"}));
    QCOMPARE(books.at(27), QStringLiteral("GA15"));
    QCOMPARE(books.at(28), QStringLiteral("GN1"));
    QCOMPARE(books.at(34), QStringLiteral("GB1"));
    QCOMPARE(books.at(39), QStringLiteral("GB6"));
    QCOMPARE(columns(QStringLiteral("Category")), (QStringList{"CategoryID", "CategoryName"}));
    QCOMPARE(columns(QStringLiteral("BookCategoryLink")), (QStringList{"BookID", "CategoryKey"}));

    QStringList indexes;
    for (const auto& row : file.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
        indexes << row.at(0).toString();
    indexes.sort();
    QStringList expected{"Books_PrimaryKey", "Books_BookID", "Books_AuthorID", "Books_RatingID",
                         "Category_PrimaryKey", "Category_CategoryID", "BookCategoryLink_PrimaryKey",
                         "BookCategoryLink_BookID", "BookCategoryLink_CategoryKey",
                         // the search index's own
                         "BookSearch_CategoryBooks"};
    expected.sort();
    QCOMPARE(indexes, expected);

    // Keys come from AUTOINCREMENT, so a deleted book's number is never given again.
    QVERIFY(file.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'Books'"))
                .toString()
                .contains(QStringLiteral("BookID INTEGER PRIMARY KEY AUTOINCREMENT")));
    QCOMPARE(file.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
}

void TestCatalogueFile::reopensExistingCatalogue()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Dune"));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    QCOMPARE(catalogue.bookCount().value_or(-1), 1);
    QVERIFY(!catalogue.isReadOnly());
}

void TestCatalogueFile::leavesForeignFilesUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("problem");
    const int notACatalogue = int(Catalogue::OpenStatus::NotACatalogue);
    QTest::newRow("text") << QByteArray("Dear diary,\nno books today.\n") << notACatalogue << "not an SQLite";
    QTest::newRow("empty") << QByteArray() << notACatalogue << "empty";
    QByteArray jet(512, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    QTest::newRow("jet") << jet << int(Catalogue::OpenStatus::LegacyFormat) << "";
    QByteArray truncated("SQLite format 3");
    truncated.append('\0');
    truncated.append(QByteArray(200, '\x01'));
    QTest::newRow("truncated sqlite") << truncated << notACatalogue << "";
}

void TestCatalogueFile::leavesForeignFilesUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Shelvio.mdb"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    Catalogue catalogue;
    QCOMPARE(int(catalogue.open(path)), status);
    QVERIFY(!catalogue.isOpen());
    QVERIFY2(catalogue.openProblem().contains(problem), qPrintable(catalogue.openProblem()));
    QCOMPARE(testing::fileBytes(path), content);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Shelvio.mdb"});
}

void TestCatalogueFile::opensReadOnlyForBrowsing()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Emma"));
    // An SQLite file with other tables is not a catalogue, and stays as it was.
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("other.db"));
    testing::queryFile(other, QStringLiteral("CREATE TABLE Customers (id INTEGER)"));
    const QByteArray before = testing::fileBytes(other);
    Catalogue foreign;
    QCOMPARE(foreign.open(other), Catalogue::OpenStatus::NotACatalogue);
    QVERIFY2(foreign.openProblem().contains(QStringLiteral("Books")), qPrintable(foreign.openProblem()));
    QCOMPARE(testing::fileBytes(other), before);

    const QByteArray stored = file.bytes();
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path(), Access::ReadOnly), Catalogue::OpenStatus::ReadOnly);
    QVERIFY(catalogue.isReadOnly());
    QCOMPARE(titlesInOrder(catalogue), QStringList{"Emma"});
    const auto refused = catalogue.saveBook(testing::book(QStringLiteral("Persuasion")));
    QVERIFY(!refused);
    QVERIFY(refused.error().text().contains(QStringLiteral("read-only")));
    QVERIFY(!catalogue.deleteBook(1));
    QVERIFY(!catalogue.addCategory(QStringLiteral("Novels")));
    QVERIFY(!catalogue.deleteCategory(QStringLiteral("Novels")));
    QCOMPARE(file.bytes(), stored);
}

void TestCatalogueFile::roundTripsEveryValueExactly()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("Children's"));
    Book book;
    book.title = QStringLiteral("The \"Quoted\" O'Brien — Преступление 日本");
    book.author = QStringLiteral(" O'Brien ");
    book.firstName = QStringLiteral("Émile");
    book.yearPublished = 1937;
    book.pages = 2147483647;
    book.costUnits = 12345678;
    book.dateRead = QStringLiteral("3/14/2001");
    book.comments = QStringLiteral("Line one\r\nline two\nthree\ttabbed \x01 control");
    book.rating = 7;
    book.wantToBuy = true;
    book.readBook = true;
    book.wantToRead = true;
    book.categories = QStringList{"Children's"};
    const qint64 id = file.addBook(book);

    Catalogue catalogue;
    catalogue.open(file.path());
    const auto loaded = catalogue.loadBook(id);
    QVERIFY(loaded);
    QCOMPARE(loaded->title, book.title);
    QCOMPARE(loaded->author, book.author);
    QCOMPARE(loaded->firstName, book.firstName);
    QCOMPARE(loaded->yearPublished, book.yearPublished);
    QCOMPARE(loaded->pages, book.pages);
    QCOMPARE(loaded->costUnits, book.costUnits);
    QCOMPARE(loaded->dateRead, book.dateRead);
    QCOMPARE(loaded->comments, book.comments);
    QCOMPARE(loaded->rating, book.rating);
    QCOMPARE(loaded->wantToBuy, true);
    QCOMPARE(loaded->ownBook, false);
    QCOMPARE(loaded->readBook, true);
    QCOMPARE(loaded->wantToRead, true);
    QCOMPARE(loaded->categories, QStringList{"Children's"});
    QCOMPARE(file.scalar(QStringLiteral("SELECT GA2 FROM Books")).toString(),
             QStringLiteral("\"Quoted\" O'Brien — Преступление 日本, The "));
    // Cost is an ordinary REAL any SQLite tool can read; flags are 0/1.
    QCOMPARE(file.scalar(QStringLiteral("SELECT typeof(Cost) || ' ' || Cost FROM Books")).toString(),
             QStringLiteral("real 1234.5678"));
    QCOMPARE(file.scalar(QStringLiteral("SELECT OwnBook || WantToBuy FROM Books")).toString(),
             QStringLiteral("01"));
    QVERIFY(catalogue.loadBook(id + 1).isNotFound());
}

void TestCatalogueFile::keepsNullsNull()
{
    TestCatalogue file;
    file.exec(QStringLiteral("INSERT INTO Books (BookID, Title) VALUES (5, 'Bare')"));
    Catalogue catalogue;
    catalogue.open(file.path());
    const auto loaded = catalogue.loadBook(5);
    QVERIFY(loaded);
    QVERIFY(loaded->author.isEmpty());
    QVERIFY(loaded->dateRead.isEmpty());
    QCOMPARE(loaded->yearPublished, std::nullopt);
    QCOMPARE(loaded->costUnits, std::nullopt);
    QCOMPARE(loaded->rating, std::nullopt);

    const auto saved = catalogue.saveBook(testing::book(QStringLiteral("Blank numbers")));
    VERIFY_OK(saved);
    QCOMPARE(file.rows(QStringLiteral("SELECT YearPublished IS NULL, Pages IS NULL, Cost IS NULL, Author, "
                                      "GA1, Rating FROM Books WHERE BookID = ?"),
                       {*saved->id})
                 .first(),
             (QVariantList{1, 1, 1, QString(), QString(), 0}));
}

void TestCatalogueFile::ordersTitlesAsAPersonExpects()
{
    TestCatalogue file;
    for (const char* title : {"Zoology", "art", "Émile", "Emma", "apple", "Apple", "The Hobbit", "ändern"})
        file.addBook(QString::fromUtf8(title));
    Catalogue catalogue;
    catalogue.open(file.path());
    // Case and accents set aside; equal titles keep their order of entry.
    QCOMPARE(titlesInOrder(catalogue),
             (QStringList{"ändern", "apple", "Apple", "art", "Émile", "Emma", "Hobbit, The ", "Zoology"}));
}

void TestCatalogueFile::ordersAuthorsByTrimmedNames()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("B1"), QStringLiteral("Smith"), QStringLiteral("John"));
    file.addBook(QStringLiteral("A1"), QStringLiteral("Adams"), QStringLiteral("Zed"));
    file.addBook(QStringLiteral("B2"), QStringLiteral(" Smith "), QStringLiteral("John "));
    file.addBook(QStringLiteral("A0"), QStringLiteral("adams"), QStringLiteral("Amy"));
    file.addBook(QStringLiteral("B0"), QStringLiteral("Smith"), QStringLiteral("John"));
    Catalogue catalogue;
    catalogue.open(file.path());
    QCOMPARE(testing::listedTitles(catalogue.booksByAuthor()), (QStringList{"A0", "A1", "B0", "B1", "B2"}));
}

void TestCatalogueFile::keepsCaseOnlyCategoriesApart()
{
    TestCatalogue file;
    file.exec(QStringLiteral("INSERT INTO Category (CategoryID, CategoryName) VALUES (1, 'Fiction'), "
                             "(2, 'fiction'), (3, 'art')"));
    const qint64 a = file.addBook(QStringLiteral("Alpha"), {}, {}, {"fiction"});
    const qint64 b = file.addBook(QStringLiteral("Beta"), {}, {}, {"Fiction", "art"});
    file.addBook(QStringLiteral("Gamma"), {}, {}, {"fiction"});
    QCOMPARE(file.scalar(QStringLiteral("SELECT CategoryKey FROM BookCategoryLink WHERE BookID = ?"), {a}),
             QVariant(2));
    Catalogue catalogue;
    catalogue.open(file.path());
    QStringList rows;
    for (const testing::ListedRow& row : testing::listedRows(catalogue.booksByCategory()))
        rows << row.runName + QLatin1Char('/') + row.sortTitle;
    QCOMPARE(rows, (QStringList{"art/Beta", "Fiction/Beta", "fiction/Alpha", "fiction/Gamma"}));
    QCOMPARE(catalogue.booksUsingCategory(QStringLiteral("Fiction")).value_or(-1), 1);
    QCOMPARE(catalogue.booksUsingCategory(QStringLiteral("fiction")).value_or(-1), 2);
    VERIFY_OK(catalogue.deleteCategory(QStringLiteral("Fiction")));
    QCOMPARE(categoriesOf(catalogue, b), QStringList{"art"});
    QCOMPARE(categoriesOf(catalogue, a), QStringList{"fiction"});
}

void TestCatalogueFile::bookNumbersBeyondSixteenBits()
{
    TestCatalogue file;
    file.exec(QStringLiteral("INSERT INTO Books (BookID, Title, GA2) VALUES (32767, 'Low', 'Low'), "
                             "(32768, 'High', 'High'), (5000000000, 'Huge', 'Huge')"));
    Catalogue catalogue;
    catalogue.open(file.path());
    QCOMPARE(catalogue.loadBook(32768).value_or({}).title, QStringLiteral("High"));
    QCOMPARE(catalogue.loadBook(5000000000).value_or({}).title, QStringLiteral("Huge"));
    VERIFY_OK(catalogue.deleteBook(32768));
    QCOMPARE(titlesInOrder(catalogue), (QStringList{"Huge", "Low"}));
    const auto next = catalogue.saveBook(testing::book(QStringLiteral("Next")));
    VERIFY_OK(next);
    QCOMPARE(next->id, std::optional<qint64>(5000000001));
}

void TestCatalogueFile::savesAndDeletesLinksWithTheBook()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("History"));
    file.addCategory(QStringLiteral("Poetry"));
    Catalogue catalogue;
    catalogue.open(file.path());
    Book book = testing::book(QStringLiteral("The Iliad"));
    book.categories = QStringList{"History", "Poetry"};
    const auto saved = catalogue.saveBook(book);
    VERIFY_OK(saved);
    // The book as stored: its new number and the sort title formed from its title.
    QVERIFY(saved->id);
    QCOMPARE(saved->sortTitle, QStringLiteral("Iliad, The "));
    QCOMPARE(saved->categories, book.categories);
    QCOMPARE(categoriesOf(catalogue, *saved->id), (QStringList{"History", "Poetry"}));
    book.id = saved->id;
    book.categories = QStringList{"Poetry"};
    VERIFY_OK(catalogue.saveBook(book));
    QCOMPARE(categoriesOf(catalogue, *book.id), QStringList{"Poetry"});
    VERIFY_OK(catalogue.deleteBook(*book.id));
    QCOMPARE(file.scalar(QStringLiteral("SELECT count(*) FROM BookCategoryLink")), QVariant(0));
    QCOMPARE(catalogue.bookCount().value_or(-1), 0);
}

void TestCatalogueFile::failedSaveLeavesCatalogueUnchanged()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("History"));
    const qint64 id = file.addBook(QStringLiteral("Kept"), {}, {}, {"History"});
    // A trigger stands in for any failure after the book row is written.
    file.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON BookCategoryLink "
                             "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"));
    const QByteArray before = file.bytes();
    Catalogue catalogue;
    catalogue.open(file.path());
    Book changed = testing::book(QStringLiteral("Changed"));
    changed.id = id;
    changed.categories = QStringList{"History"};
    const auto failed = catalogue.saveBook(changed);
    QVERIFY(!failed);
    QVERIFY(!failed.isNotFound());
    QVERIFY2(failed.error().text().contains(QStringLiteral("disk trouble")),
             qPrintable(failed.error().text()));
    Book added = testing::book(QStringLiteral("New"));
    added.categories = QStringList{"History"};
    QVERIFY(!catalogue.saveBook(added));
    QCOMPARE(catalogue.loadBook(id).value_or({}).title, QStringLiteral("Kept"));
    QCOMPARE(categoriesOf(catalogue, id), QStringList{"History"});
    QCOMPARE(catalogue.bookCount().value_or(-1), 1);
    catalogue.close();
    QCOMPARE(file.bytes(), before);
}

void TestCatalogueFile::categoryNamesCompareWithoutCase()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("Émile"));
    file.addCategory(QStringLiteral("Children's"));
    Catalogue catalogue;
    catalogue.open(file.path());
    const auto onFile = [&](const QString& name) {
        const auto answer = catalogue.categoryNameOnFile(name);
        return !answer ? answer.error().text() : *answer ? QStringLiteral("yes") : QStringLiteral("no");
    };
    QCOMPARE(onFile(QStringLiteral("émile")), QStringLiteral("yes"));
    QCOMPARE(onFile(QStringLiteral("ÉMILE")), QStringLiteral("yes"));
    QCOMPARE(onFile(QStringLiteral("Emile")), QStringLiteral("no"));
    QCOMPARE(onFile(QStringLiteral("CHILDREN'S")), QStringLiteral("yes"));
    QCOMPARE(onFile(QStringLiteral(" Children's")), QStringLiteral("no"));
}

void TestCatalogueFile::deletesCategoryByExactName()
{
    TestCatalogue file;
    file.addCategory(QStringLiteral("O'Brien's"));
    file.addBook(QStringLiteral("One"), {}, {}, {"O'Brien's"});
    file.addBook(QStringLiteral("Two"), {}, {}, {"O'Brien's"});
    Catalogue catalogue;
    catalogue.open(file.path());
    QCOMPARE(catalogue.booksUsingCategory(QStringLiteral("O'Brien's")).value_or(-1), 2);
    QCOMPARE(catalogue.booksUsingCategory(QStringLiteral("o'brien's")).value_or(-1), 0);
    QVERIFY(catalogue.deleteCategory(QStringLiteral("o'brien's")).isNotFound());
    VERIFY_OK(catalogue.deleteCategory(QStringLiteral("O'Brien's")));
    QCOMPARE(file.scalar(QStringLiteral("SELECT count(*) FROM BookCategoryLink")), QVariant(0));
    const auto names = catalogue.categoryNames();
    VERIFY_OK(names);
    QCOMPARE(*names, QStringList());
    QCOMPARE(catalogue.bookCount().value_or(-1), 2);
}

void TestCatalogueFile::refusesOverlongCategoryName()
{
    TestCatalogue file;
    Catalogue catalogue;
    catalogue.open(file.path());
    VERIFY_OK(catalogue.addCategory(QString(50, u'x')));
    const Status refused = catalogue.addCategory(QString(51, u'y'));
    QVERIFY(!refused);
    QVERIFY(refused.error().text().contains(QStringLiteral("50")));
    QCOMPARE(catalogue.categoryNames().value_or({}), QStringList{QString(50, u'x')});
}

void TestCatalogueFile::newBookNeverReusesANumber()
{
    TestCatalogue file;
    const qint64 first = file.addBook(QStringLiteral("One"));
    const qint64 second = file.addBook(QStringLiteral("Two"));
    Catalogue catalogue;
    catalogue.open(file.path());
    VERIFY_OK(catalogue.deleteBook(second));
    const auto third = catalogue.saveBook(testing::book(QStringLiteral("Three")));
    VERIFY_OK(third);
    QVERIFY(third->id.value_or(0) > second);
    QVERIFY(first < second);
}

// The count is kept between reads; another program's writes must still be
// seen, however they leave the number of books.
void TestCatalogueFile::countFollowsEveryWriter()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("One"));
    Catalogue catalogue;
    catalogue.open(file.path());
    QCOMPARE(testing::listedTitles(catalogue.booksByTitle()).size(), 1);
    Book added = testing::book(QStringLiteral("Two"));
    const auto saved = catalogue.saveBook(added);
    VERIFY_OK(saved);
    QCOMPARE(catalogue.bookCount().value_or(-1), 2);
    file.exec(QStringLiteral("INSERT INTO Books (Title, GA2) VALUES ('Three', 'Three')"));
    QCOMPARE(catalogue.bookCount().value_or(-1), 3);
    VERIFY_OK(catalogue.deleteBook(*saved->id));
    VERIFY_OK(catalogue.deleteBook(*saved->id)); // gone already: nothing to count
    QCOMPARE(catalogue.bookCount().value_or(-1), 2);
    // One book in, one out: the same number, yet another program wrote.
    file.exec(QStringLiteral("DELETE FROM Books WHERE Title = 'Three'"));
    file.exec(QStringLiteral("INSERT INTO Books (Title, GA2) VALUES ('Four', 'Four'), ('Five', 'Five')"));
    QCOMPARE(catalogue.bookCount().value_or(-1), 3);
    QCOMPARE(testing::listedTitles(catalogue.booksByTitle()), (QStringList{"Five", "Four", "One"}));
}

void TestCatalogueFile::waitsOutAShortLock()
{
    TestCatalogue file;
    Catalogue catalogue;
    catalogue.open(file.path());
    LockHolder other(file.path(), 300);
    other.start();
    other.locked.acquire();
    VERIFY_OK(catalogue.saveBook(testing::book(QStringLiteral("Patient"))));
    other.wait();
    QCOMPARE(catalogue.bookCount().value_or(-1), 1);
}

void TestCatalogueFile::givesUpOnALongLock()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Kept"));
    Catalogue catalogue;
    catalogue.open(file.path());
    LockHolder other(file.path(), 7000);
    other.start();
    other.locked.acquire();
    const auto refused = catalogue.saveBook(testing::book(QStringLiteral("Impatient")));
    QVERIFY(!refused);
    QVERIFY2(refused.error().text().contains(QStringLiteral("locked")), qPrintable(refused.error().text()));
    other.wait();
    QCOMPARE(catalogue.bookCount().value_or(-1), 1);
    // The connection is usable again once the other program lets go.
    VERIFY_OK(catalogue.saveBook(testing::book(QStringLiteral("Later"))));
}

QTEST_GUILESS_MAIN(TestCatalogueFile)
#include "tst_catalogue.moc"
