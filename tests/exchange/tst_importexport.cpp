// Books taken out to our CSV file and brought in again, through the store
// and a real catalogue file: the round trip, the editor's rules on the way
// in, books already on file, and imports that stop half-way.
#include "bookcsv.h"
#include "catalogue.h"
#include "importfile.h"
#include "testcatalogue.h"

#include <QCryptographicHash>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace shelvio;
using testing::TestCatalogue;

namespace {

QByteArray hashOf(const QString& path)
{
    return QCryptographicHash::hash(testing::fileBytes(path), QCryptographicHash::Sha256);
}

Book oddBook()
{
    Book book = testing::book(u"The \"Quoted\", Title"_s, u"O'Brien"_s, u"Flann"_s);
    book.yearPublished = 1939;
    book.pages = 0; // a number, not Null
    book.costUnits = 123456;
    book.dateRead = u"3/14/2004"_s;
    book.rating = 9;
    book.readBook = true;
    book.ownBook = true;
    book.comments = u"Line one,\nline two; \"three\"\r\nand four"_s;
    book.categories = {u"Sci;Fi"_s, u"Émile's \"best\""_s, u" Padded "_s};
    return book;
}

Book plainBook(const QString& title)
{
    Book book = testing::book(title);
    book.dateRead = u"//"_s;
    return book;
}

// Everything of a book but its number.
QString describe(const Book& book)
{
    const auto number = [](const std::optional<qint64>& n) {
        return n ? QString::number(*n) : u"Null"_s;
    };
    return QStringList{book.title,
                       book.sortTitle,
                       book.author,
                       book.firstName,
                       number(book.yearPublished),
                       number(book.pages),
                       number(book.costUnits),
                       book.dateRead,
                       book.comments,
                       number(book.rating),
                       QString::number(book.readBook),
                       QString::number(book.wantToRead),
                       QString::number(book.wantToBuy),
                       QString::number(book.ownBook),
                       book.categories.join(u'|')}
        .join(u" / "_s);
}

QStringList booksOf(const QString& path)
{
    Catalogue catalogue;
    if (catalogue.open(path) != Catalogue::OpenStatus::Opened)
        return {u"cannot open"_s};
    QStringList books;
    const Status read = catalogue.forEachBook([&](const Book& book) { books << describe(book); });
    return read ? books : QStringList{read.error().text()};
}

Result<ImportOutcome> importFile(const QString& file, const QString& cataloguePath, bool withBooksOnFile,
                                 const ImportProgress& progress = {})
{
    const auto source = exchange::readImportFile(file);
    if (!source)
        return source.error();
    exchange::ImportPlan plan = exchange::planImport(*source);
    Catalogue catalogue;
    catalogue.open(cataloguePath);
    if (Status marked = exchange::markBooksOnFile(&plan, catalogue); !marked)
        return marked.error();
    return catalogue.importBooks(plan.booksToAdd(withBooksOnFile), progress);
}

} // namespace

class TestImportExport : public QObject {
    Q_OBJECT
private slots:
    void roundTripIsExact();
    void numbersAreNew();
    void editorRulesOnTheWayIn();
    void booksAlreadyOnFile_data();
    void booksAlreadyOnFile();
    void stoppedImportLeavesNothing_data();
    void stoppedImportLeavesNothing();
    void exportNeedsAWritableFile();
};

void TestImportExport::roundTripIsExact()
{
    TestCatalogue first;
    for (const QString& name : {u"Unused"_s, u"Sci;Fi"_s, u"Émile's \"best\""_s, u" Padded "_s, u"Fiction"_s,
                                u"Émile"_s, u"apple"_s})
        first.addCategory(name);
    first.addBook(oddBook());
    Book empty = testing::book(u"Only a title"_s); // empty texts, Null numbers, no rating
    empty.dateRead = QString();
    first.addBook(empty);
    Book unicode = plainBook(u"Ænid: 書名 — ünïcödé"_s);
    unicode.author = u"Ἀριστοφάνης"_s;
    unicode.rating = 2;
    unicode.wantToRead = true;
    unicode.wantToBuy = true;
    unicode.categories = {u"Fiction"_s, u"Émile"_s, u"apple"_s}; // listed in the catalogue's order
    first.addBook(unicode);
    QTemporaryDir folder;
    const QString exported = folder.filePath(u"first.csv"_s);
    Catalogue source;
    QCOMPARE(source.open(first.path()), Catalogue::OpenStatus::Opened);
    const auto written = exchange::exportBooks(source, exported);
    VERIFY_OK(written);
    QCOMPARE(*written, 3);

    TestCatalogue second;
    const auto imported = importFile(exported, second.path(), true);
    VERIFY_OK(imported);
    QCOMPARE(imported->booksAdded, 3);
    QCOMPARE(booksOf(second.path()), booksOf(first.path()));
    Catalogue copy;
    QCOMPARE(copy.open(second.path()), Catalogue::OpenStatus::Opened);
    const QString again = folder.filePath(u"second.csv"_s);
    VERIFY_OK(exchange::exportBooks(copy, again));
    QCOMPARE(testing::fileBytes(again), testing::fileBytes(exported));
    // The file is what a spreadsheet reads: a header row, CR LF, UTF-8.
    QVERIFY(testing::fileBytes(exported).startsWith(
        "Title,Author First Name,Author Last Name,Year Published,Pages,Cost,Date Read,Rating,Have Read,"
        "Want to Read,Want to Buy,Own,Comments,Categories,Book Number\r\n\"The \"\"Quoted\"\", Title\",Flann,"
        "O'Brien,1939,0,12.3456,3/14/2004,Very Good – Excellent,Yes,No,No,Yes,"));
    // Ordered as the category lists order them; quoted inside the field, and the field quoted again.
    QVERIFY(testing::fileBytes(exported).contains(
        ",\"\"\"Émile's \"\"\"\"best\"\"\"\"\"\"; \"\" Padded \"\"; \"\"Sci;Fi\"\"\","));
    QVERIFY(testing::fileBytes(exported).contains(",apple; Émile; Fiction,"));
}

void TestImportExport::numbersAreNew()
{
    TestCatalogue source;
    source.addBook(plainBook(u"One"_s));
    const qint64 gone = source.addBook(plainBook(u"Two"_s));
    source.addBook(plainBook(u"Three"_s));
    source.exec(u"DELETE FROM Books WHERE BookID = ?"_s, {gone});
    QTemporaryDir folder;
    const QString file = folder.filePath(u"books.csv"_s);
    Catalogue catalogue;
    catalogue.open(source.path());
    VERIFY_OK(exchange::exportBooks(catalogue, file));
    // Into the same catalogue: each book comes in as a new one.
    catalogue.close();
    VERIFY_OK(importFile(file, source.path(), true));
    const auto numbers = source.rows(u"SELECT BookID, Title FROM Books ORDER BY BookID"_s);
    QCOMPARE(numbers.size(), 4);
    QCOMPARE(numbers[2], (QVariantList{4, u"One"_s}));
    QCOMPARE(numbers[3], (QVariantList{5, u"Three"_s}));
}

void TestImportExport::editorRulesOnTheWayIn()
{
    TestCatalogue file;
    file.addCategory(u"Fiction"_s);
    QTemporaryDir folder;
    const QString table = folder.filePath(u"list.csv"_s);
    testing::writeFile(table, "Title,Author,Year,Tags,Rating\n"
                              "The Hobbit,\"Tolkien, J. R. R.\",1937,\"fiction, Fantasy\",Good\n"
                              "a map,Jo Smith,circa 1900,FANTASY,4.5\n");
    const auto source = exchange::readImportFile(table);
    VERIFY_OK(source);
    QCOMPARE(source->kind, exchange::FileKind::Table);
    Catalogue catalogue;
    catalogue.open(file.path());
    const exchange::ImportPlan plan = exchange::planImport(*source);
    const auto outcome = catalogue.importBooks(plan.booksToAdd(true));
    VERIFY_OK(outcome);
    QCOMPARE(outcome->categoriesCreated, 1); // Fantasy; fiction is Fiction
    QCOMPARE(
        file.rows(
            u"SELECT Title, GA2, Author, GA1, ifnull(YearPublished, 'Null'), Rating, DateRead FROM Books"_s),
        (QList<QVariantList>{
            {u"The Hobbit"_s, u"Hobbit, The "_s, u"Tolkien"_s, u"J. R. R."_s, 1937, 6, u"//"_s},
            {u"a map"_s, u"map, A"_s, u"Smith"_s, u"Jo"_s, u"Null"_s, 9, u"//"_s}}));
    QCOMPARE(file.rows(u"SELECT CategoryID, CategoryName FROM Category ORDER BY CategoryID"_s),
             (QList<QVariantList>{{1, u"Fiction"_s}, {2, u"Fantasy"_s}}));
    QCOMPARE(testing::categoriesOf(catalogue, 1), (QStringList{u"Fiction"_s, u"Fantasy"_s}));
    QCOMPARE(testing::categoriesOf(catalogue, 2), QStringList{u"Fantasy"_s});
    QCOMPARE(
        exchange::problemLines(plan),
        QStringList{u"Line 3: the year published \"circa 1900\" is not a number; it is stored empty."_s});
}

void TestImportExport::booksAlreadyOnFile_data()
{
    QTest::addColumn<bool>("withBooksOnFile");
    QTest::addColumn<int>("added");
    QTest::newRow("skipped") << false << 1;
    QTest::newRow("added as well") << true << 3;
}

void TestImportExport::booksAlreadyOnFile()
{
    QFETCH(bool, withBooksOnFile);
    QFETCH(int, added);
    TestCatalogue file;
    file.addBook(u"Émile"_s, u"Rousseau"_s, u"Jean-Jacques"_s);
    file.addBook(u"The Hobbit "_s, u"tolkien"_s, u" J. R. R."_s);
    QTemporaryDir folder;
    const QString table = folder.filePath(u"list.tsv"_s);
    testing::writeFile(table, "Title\tAuthor Last Name\tAuthor First Name\n"
                              "EMILE\tRousseau\tJean-Jacques\n"      // case and accents aside
                              "The Hobbit\tTolkien\tJ. R. R.\n"      // blanks at the ends aside
                              "The Hobbit\tTolkien\tChristopher\n"); // another author
    const auto source = exchange::readImportFile(table);
    VERIFY_OK(source);
    exchange::ImportPlan plan = exchange::planImport(*source);
    Catalogue catalogue;
    catalogue.open(file.path());
    VERIFY_OK(exchange::markBooksOnFile(&plan, catalogue));
    QCOMPARE(plan.onFile, (std::vector<bool>{true, true, false}));
    QVERIFY(exchange::planSummary(plan).contains(
        u"1 book to add, and 2 books that look like books already on file"_s));
    const auto outcome = catalogue.importBooks(plan.booksToAdd(withBooksOnFile));
    VERIFY_OK(outcome);
    QCOMPARE(outcome->booksAdded, added);
    QCOMPARE(file.scalar(u"SELECT count(*) FROM Books"_s).toInt(), 2 + added);
}

void TestImportExport::stoppedImportLeavesNothing_data()
{
    QTest::addColumn<int>("stopAfter"); // books; -1: a category name the catalogue refuses
    QTest::newRow("cancelled half-way") << 50;
    QTest::newRow("cancelled at the last book") << 100;
    QTest::newRow("a step fails") << -1;
}

void TestImportExport::stoppedImportLeavesNothing()
{
    QFETCH(int, stopAfter);
    TestCatalogue file;
    file.addBook(u"Already here"_s, {}, {}, {});
    std::vector<Book> books;
    for (int i = 0; i < 100; ++i) {
        Book book = plainBook(u"Book %1"_s.arg(i));
        book.categories = {u"New %1"_s.arg(i % 7)};
        books.push_back(book);
    }
    if (stopAfter < 0)
        books[70].categories = {QString(51, u'x')};
    const QByteArray before = hashOf(file.path());
    Catalogue catalogue;
    catalogue.open(file.path());
    qint64 calls = 0;
    const auto outcome = catalogue.importBooks(books, [&](qint64 added) {
        calls = added;
        return added != stopAfter;
    });
    if (stopAfter < 0) {
        QVERIFY(!outcome);
        QVERIFY2(outcome.error().text().contains(u"longer than 50"_s), qPrintable(outcome.error().text()));
    } else {
        VERIFY_OK(outcome);
        QVERIFY(outcome->cancelled);
        QCOMPARE(outcome->booksAdded, 0);
        QCOMPARE(calls, stopAfter);
    }
    catalogue.close();
    QCOMPARE(hashOf(file.path()), before);
}

void TestImportExport::exportNeedsAWritableFile()
{
    TestCatalogue file;
    file.addBook(u"Kept"_s);
    Catalogue catalogue;
    catalogue.open(file.path());
    const auto written = exchange::exportBooks(catalogue, file.folder() + u"/no such folder/books.csv"_s);
    QVERIFY(!written);
    QVERIFY2(written.error().text().contains(u"cannot be written"_s), qPrintable(written.error().text()));
}

QTEST_GUILESS_MAIN(TestImportExport)
#include "tst_importexport.moc"
