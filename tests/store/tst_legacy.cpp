#include "catalogue.h"
#include "fileformat.h"
#include "jetfile.h"
#include "legacyconversion.h"
#include "numbers.h"
#include "schema.h"
#include "testcatalogue.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using testing::categoriesOf;
using testing::copyFixture;
using testing::fileBytes;
using testing::queryFile;

namespace {

const QString legacyFile = QStringLiteral("legacy/Shelvio-legacy.mdb");
const QString emptyFile = QStringLiteral("legacy/Shelvio-empty.mdb");
const QString foreignFile = QStringLiteral("legacy/NotACatalogue.mdb");

QJsonObject expectedTables(const QString& file)
{
    QFile json(QDir(testing::fixturesFolder()).filePath("legacy/expected.json"));
    if (!json.open(QIODevice::ReadOnly))
        qFatal("cannot read expected.json");
    return QJsonDocument::fromJson(json.readAll()).object().value(file).toObject().value("tables").toObject();
}

// expected.json gives a Currency as text with four decimals: "12.5000".
qint64 costUnits(QString text)
{
    return text.remove(u'.').toLongLong();
}

// Every cell of one row of expected.json that the converted row differs in.
QStringList differences(const QJsonObject& expected, const QJsonArray& columns, const QVariantList& stored,
                        const QString& where)
{
    QStringList found;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString name = columns.at(i).toObject().value("name").toString();
        const QJsonValue value = expected.value(name);
        const QVariant cell = stored.at(i);
        bool same = false;
        if (value.isNull())
            same = cell.isNull();
        else if (cell.isNull())
            same = false;
        else if (value.isBool())
            same = cell.toLongLong() == (value.toBool() ? 1 : 0);
        else if (value.isDouble())
            same = cell.toLongLong() == qint64(value.toDouble());
        else if (columns.at(i).toObject().value("type").toString() == "Currency")
            same = costUnitsFromAmount(cell.toDouble()) == costUnits(value.toString());
        else
            same = cell.toString() == value.toString();
        if (!same)
            found << QString("%1 %2: expected %3, got %4")
                         .arg(where, name, value.toVariant().toString(),
                              cell.isNull() ? QString("Null") : cell.toString());
    }
    return found;
}

// Finding and changing things inside a copy of a Jet 4 file, to make the
// damaged and unusual files a real catalogue may come as.
constexpr qsizetype pageSize = 4096;

qint32 int32At(const QByteArray& file, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(file.at(at + i));
    return qint32(value);
}

void putInt32(QByteArray& file, qsizetype at, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = char(quint32(value) >> (8 * i));
}

QByteArray int32Bytes(qint32 value)
{
    QByteArray bytes(4, '\0');
    putInt32(bytes, 0, value);
    return bytes;
}

// The table definition page (type 2) holding this row count and counter
// (Jet 4 keeps them at 16 and 20), or -1 unless there is exactly one.
qsizetype definitionPage(const QByteArray& file, qint32 rows, qint32 counter)
{
    qsizetype found = -1;
    for (qsizetype page = 1; page < file.size() / pageSize; ++page) {
        const qsizetype at = page * pageSize;
        if (file.at(at) == 2 && int32At(file, at + 16) == rows && int32At(file, at + 20) == counter) {
            if (found >= 0)
                return -1;
            found = page;
        }
    }
    return found;
}

// Replaces `from` in the data pages of a table, if it occurs there once.
bool replaceInRows(QByteArray& file, qsizetype definition, const QByteArray& from, const QByteArray& to)
{
    qsizetype at = -1;
    for (qsizetype page = 1; page < file.size() / pageSize; ++page) {
        const qsizetype start = page * pageSize;
        if (file.at(start) != 1 || int32At(file, start + 4) != definition)
            continue;
        const QByteArray data = file.mid(start, pageSize);
        const qsizetype first = data.indexOf(from);
        if (first < 0)
            continue;
        if (at >= 0 || data.indexOf(from, first + 1) >= 0)
            return false;
        at = start + first;
    }
    if (at < 0)
        return false;
    file.replace(at, from.size(), to);
    return true;
}

// A book row starts with its column count (40) and then BookID.
QByteArray bookRowStart(qint32 id)
{
    return QByteArray("\x28\x00", 2) + int32Bytes(id);
}

// A link row: the column count (2), BookID and CategoryKey.
QByteArray linkRow(qint32 book, qint32 category)
{
    return QByteArray("\x02\x00", 2) + int32Bytes(book) + int32Bytes(category);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The number a new book gets, or -1 when the save fails.
qint64 savedId(Catalogue& catalogue, const Book& book)
{
    return catalogue.saveBook(book).value_or({}).id.value_or(-1);
}

} // namespace

class TestLegacy : public QObject {
    Q_OBJECT
private slots:
    void readsTablesCountersAndTypes();
    void convertsEveryRowAndValue();
    void convertsTheEmptyCatalogue();
    void leavesTheOriginalUntouchedOnFailure_data();
    void leavesTheOriginalUntouchedOnFailure();
    void neverWritesOverAnExistingFile();
    void newKeysGoAboveEveryOldOne_data();
    void newKeysGoAboveEveryOldOne();
    void migrationKeepsTheOriginalBesideTheNewCatalogue();
    void showsEveryBookInEachOrdering();
    void caseOnlyCategoriesKeepTheirOwnBooks();
};

void TestLegacy::readsTablesCountersAndTypes()
{
    QTemporaryDir dir;
    JetFile jet;
    QVERIFY2(jet.open(copyFixture(legacyFile, dir.filePath("legacy.mdb"))), qPrintable(jet.error()));
    QStringList tables = jet.tableNames();
    tables.sort();
    QCOMPARE(tables, (QStringList{"BookCategoryLink", "Books", "Category"}));

    // Names match without regard to case, as the Jet engine matched them.
    const auto books = jet.table("bOOKS");
    QVERIFY(books);
    QCOMPARE(books->name, QString("Books"));
    QCOMPARE(books->columns.size(), 40);
    QCOMPARE(books->rowCount, qint64(40));
    QCOMPARE(books->autoNumber, qint64(40002));
    QCOMPARE(books->columns.at(6).type, JetType::Memo);
    QCOMPARE(books->columns.at(7).type, JetType::Currency);
    QCOMPARE(books->columns.at(9).type, JetType::YesNo);
    QCOMPARE(jet.table("Category")->autoNumber, qint64(8));
    QCOMPARE(jet.table("BookCategoryLink")->autoNumber, qint64(0));
    QVERIFY(!jet.table("Customers"));
    QVERIFY(jet.error().isEmpty());

    // Rows come in stored order, and reading stops when asked to.
    QList<qint64> ids;
    QVERIFY(jet.readRows("Books", {"bookid"}, [&](const QVariantList& values) {
        ids << values.at(0).toLongLong();
        return ids.size() < 3;
    }));
    QCOMPARE(ids, (QList<qint64>{1, 2, 3}));
    QVERIFY(!jet.readRows("Books", {"Publisher"}, [](const QVariantList&) { return true; }));
    QVERIFY(jet.error().contains("Publisher"));
}

void TestLegacy::convertsEveryRowAndValue()
{
    QTemporaryDir dir;
    const QString jet = copyFixture(legacyFile, dir.filePath("legacy.mdb"));
    const QString target = dir.filePath("Shelvio.mdb");
    const auto result = convertJetCatalogue(jet, target);
    VERIFY_OK(result);
    QCOMPARE(result->books, qint64(40));
    QCOMPARE(result->categories, qint64(8));
    QCOMPARE(result->links, qint64(19));
    QCOMPARE(result->orphanLinks, qint64(1));
    QVERIFY(result->keptOriginalPath.isEmpty());

    // Memo text whole, in all three ways Jet stores it, non-ASCII text, CR LF
    // kept, Currency to the last of four decimals, and the six zero-length
    // texts as empty text rather than Null: every cell as the file holds it.
    const QJsonObject tables = expectedTables("Shelvio-legacy.mdb");
    QStringList mismatches;
    for (const QString table : {"Books", "Category", "BookCategoryLink"}) {
        const QJsonArray columns = tables.value(table).toObject().value("columns").toArray();
        const QJsonArray rows = tables.value(table).toObject().value("rows").toArray();
        QStringList names;
        for (const QJsonValue& column : columns)
            names << column.toObject().value("name").toString();
        QCOMPARE(queryFile(target, "SELECT count(*) FROM " + table).at(0).at(0).toLongLong(),
                 qint64(rows.size()));
        const bool isLink = table == "BookCategoryLink";
        const QString select = "SELECT " + names.join(", ") + " FROM " + table + " WHERE " +
                               (isLink ? "BookID = ? AND CategoryKey = ?" : names.at(0) + " = ?");
        for (const QJsonValue& value : rows) {
            const QJsonObject row = value.toObject();
            QVariantList key{row.value(names.at(0)).toVariant()};
            if (isLink)
                key << row.value(names.at(1)).toVariant();
            const QString where = table + " " + names.at(0) + "=" + key.at(0).toString();
            const auto stored = queryFile(target, select, key);
            if (stored.size() != 1)
                mismatches << where + ": found " + QString::number(stored.size()) + " rows";
            else
                mismatches << differences(row, columns, stored.at(0), where);
        }
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join('\n')));
}

void TestLegacy::convertsTheEmptyCatalogue()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("Shelvio.mdb");
    const auto result = convertJetCatalogue(copyFixture(emptyFile, dir.filePath("empty.mdb")), target);
    VERIFY_OK(result);
    QCOMPARE(result->books + result->categories + result->links + result->orphanLinks, qint64(0));

    Catalogue catalogue;
    QCOMPARE(catalogue.open(target), Catalogue::OpenStatus::Opened);
    QCOMPARE(catalogue.bookCount().value_or(-1), qint64(0));
    const auto names = catalogue.categoryNames();
    VERIFY_OK(names);
    QCOMPARE(*names, QStringList());
    QCOMPARE(savedId(catalogue, testing::book("First")), qint64(1));
    VERIFY_OK(catalogue.addCategory("Poetry"));
    QCOMPARE(queryFile(target, "SELECT CategoryID FROM Category").at(0).at(0).toLongLong(), qint64(1));
}

void TestLegacy::leavesTheOriginalUntouchedOnFailure_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("named"); // what the message must name

    const QByteArray legacy = fileBytes(QDir(testing::fixturesFolder()).filePath(legacyFile));
    QTest::newRow("unrelated tables")
        << fileBytes(QDir(testing::fixturesFolder()).filePath(foreignFile))
        << QStringList{"no table Books", "no table Category", "no table BookCategoryLink"};
    QByteArray renamed = legacy;
    // Column names are kept as UTF-16 in the table definition.
    const QByteArray ga15 = QByteArray::fromRawData(reinterpret_cast<const char*>(u"GA15"), 8);
    QCOMPARE(renamed.count(ga15), 1);
    renamed.replace(ga15, QByteArray::fromRawData(reinterpret_cast<const char*>(u"GX15"), 8));
    QTest::newRow("a column renamed")
        << renamed << QStringList{"the table Books has no column GA15", "no place for: GX15"};
    // Copies cut short: libmdb stops at the missing page without a word, but
    // the table's own row count tells; a memo's missing page tells at once.
    QTest::newRow("cut short in the books")
        << legacy.left(44 * pageSize)
        << QStringList{"The table Books should hold 40 rows, but 20 could be read"};
    QTest::newRow("cut short in a memo")
        << legacy.left(45 * pageSize)
        << QStringList{"The Comments of row 22 of the table Books cannot be read"};
    QTest::newRow("cut short in the catalog") << legacy.left(6 * pageSize) << QStringList{"no table Books"};
    // A table definition names the row that maps the table's pages; libmdb
    // follows a wrong one into a crash unless it is checked first.
    QByteArray objectsMap = legacy;
    objectsMap[2 * pageSize + 55] = char(102);
    QTest::newRow("the list of tables damaged") << objectsMap << QStringList{"list of tables cannot be read"};
    QByteArray booksMap = legacy;
    booksMap[definitionPage(legacy, 40, 40002) * pageSize + 55] = char(102);
    QTest::newRow("the page map of Books damaged")
        << booksMap << QStringList{"The definition of the table Books cannot be read"};
    QTest::newRow("not Jet at all") << QByteArray("Title;Author\nDune;Herbert\n") << QStringList{"not a Jet"};
    QTest::newRow("SQLite") << fileBytes(testing::TestCatalogue().path()) << QStringList{"not a Jet"};

    // Failures midway, after some or all rows have gone into the new file.
    const qsizetype books = definitionPage(legacy, 40, 40002);
    QVERIFY(books > 0);
    // Rows before it have been written when the second BookID 1 comes.
    QByteArray sameKey = legacy;
    QVERIFY(replaceInRows(sameKey, books, bookRowStart(40001), bookRowStart(1)));
    QTest::newRow("two books share a key")
        << sameKey << QStringList{"A row of the table Books cannot be written"};
    // Every row has been written when the count shows one missing.
    QByteArray rowMissing = legacy;
    putInt32(rowMissing, books * pageSize + 16, 41);
    QTest::newRow("a row cannot be read")
        << rowMissing << QStringList{"should hold 41 rows, but 40 could be read"};
}

void TestLegacy::leavesTheOriginalUntouchedOnFailure()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    const QString jet = dir.filePath("Shelvio.mdb");
    testing::writeFile(jet, content);
    const QString target = dir.filePath("converted.mdb");

    const auto result = convertJetCatalogue(jet, target);
    QVERIFY(!result);
    const QString error = result.error().text();
    QVERIFY(!error.isEmpty());
    for (const QString& part : named)
        QVERIFY2(error.contains(part), qPrintable(error));
    QCOMPARE(fileBytes(jet), content);
    QCOMPARE(filesIn(dir.path()), QStringList{"Shelvio.mdb"});

    const auto migration = migrateJetCatalogue(jet);
    QVERIFY(!migration);
    QCOMPARE(migration.error().text(), error);
    QCOMPARE(fileBytes(jet), content);
    QCOMPARE(filesIn(dir.path()), QStringList{"Shelvio.mdb"});
}

void TestLegacy::neverWritesOverAnExistingFile()
{
    QTemporaryDir dir;
    const QString jet = copyFixture(legacyFile, dir.filePath("legacy.mdb"));
    const QString target = dir.filePath("Shelvio.mdb");
    testing::writeFile(target, "someone else's file");
    const auto result = convertJetCatalogue(jet, target);
    QVERIFY(!result);
    QVERIFY2(result.error().text().contains("already there"), qPrintable(result.error().text()));
    QCOMPARE(fileBytes(target), QByteArray("someone else's file"));
}

void TestLegacy::newKeysGoAboveEveryOldOne_data()
{
    QTest::addColumn<qint32>("bookCounter");
    QTest::addColumn<qint32>("categoryCounter");
    QTest::addColumn<QPoint>("orphanLink"); // BookID, CategoryKey of the orphan row
    QTest::addColumn<qint64>("nextBook");
    QTest::addColumn<qint64>("nextCategory");

    QTest::newRow("as stored") << 40002 << 8 << QPoint(12, 1) << qint64(40003) << qint64(9);
    QTest::newRow("counters above the keys") << 50000 << 20 << QPoint(12, 1) << qint64(50001) << qint64(21);
    QTest::newRow("a link names higher keys")
        << 40002 << 8 << QPoint(60000, 30) << qint64(60001) << qint64(31);
}

void TestLegacy::newKeysGoAboveEveryOldOne()
{
    QFETCH(qint32, bookCounter);
    QFETCH(qint32, categoryCounter);
    QFETCH(QPoint, orphanLink);
    QFETCH(qint64, nextBook);
    QFETCH(qint64, nextCategory);

    QByteArray file = fileBytes(QDir(testing::fixturesFolder()).filePath(legacyFile));
    const qsizetype books = definitionPage(file, 40, 40002);
    const qsizetype categories = definitionPage(file, 8, 8);
    const qsizetype links = definitionPage(file, 19, 0);
    QVERIFY(books > 0 && categories > 0 && links > 0);
    putInt32(file, books * pageSize + 20, bookCounter);
    putInt32(file, categories * pageSize + 20, categoryCounter);
    QVERIFY(replaceInRows(file, links, linkRow(12, 1), linkRow(orphanLink.x(), orphanLink.y())));

    QTemporaryDir dir;
    const QString jet = dir.filePath("legacy.mdb");
    testing::writeFile(jet, file);
    const QString target = dir.filePath("Shelvio.mdb");
    const auto result = convertJetCatalogue(jet, target);
    VERIFY_OK(result);
    QCOMPARE(result->orphanLinks, qint64(1));
    QCOMPARE(queryFile(target, "SELECT count(*) FROM BookCategoryLink WHERE BookID = ? AND CategoryKey = ?",
                       {orphanLink.x(), orphanLink.y()})
                 .at(0)
                 .at(0)
                 .toLongLong(),
             qint64(1));

    Catalogue catalogue;
    QCOMPARE(catalogue.open(target), Catalogue::OpenStatus::Opened);
    QCOMPARE(savedId(catalogue, testing::book("A New Book")), nextBook);
    VERIFY_OK(catalogue.addCategory("Travel"));
    QCOMPARE(queryFile(target, "SELECT CategoryID FROM Category WHERE CategoryName = 'Travel'").at(0).at(0),
             QVariant(nextCategory));
    // The new book does not inherit the link left behind by a deleted one.
    QCOMPARE(categoriesOf(catalogue, nextBook), QStringList());
}

void TestLegacy::migrationKeepsTheOriginalBesideTheNewCatalogue()
{
    QTemporaryDir dir;
    const QString catalogue = dir.filePath("Shelvio.mdb");
    const QByteArray original = fileBytes(copyFixture(legacyFile, catalogue));

    const auto first = migrateJetCatalogue(catalogue);
    VERIFY_OK(first);
    QCOMPARE(first->books, qint64(40));
    QCOMPARE(first->keptOriginalPath, dir.filePath("Shelvio (old format).mdb"));
    QCOMPARE(fileBytes(first->keptOriginalPath), original);
    QCOMPARE(detectFileKind(catalogue), FileKind::SQLite);
    QCOMPARE(filesIn(dir.path()), (QStringList{"Shelvio (old format).mdb", "Shelvio.mdb"}));
    Catalogue opened;
    QCOMPARE(opened.open(catalogue), Catalogue::OpenStatus::Opened);
    QCOMPARE(opened.bookCount().value_or(-1), qint64(40));
    opened.close();

    // A second old file never takes the place of the first one kept.
    QVERIFY(QFile::remove(catalogue));
    copyFixture(emptyFile, catalogue);
    const auto second = migrateJetCatalogue(catalogue);
    VERIFY_OK(second);
    QCOMPARE(second->keptOriginalPath, dir.filePath("Shelvio (old format) 2.mdb"));
    QCOMPARE(fileBytes(first->keptOriginalPath), original);
    QCOMPARE(filesIn(dir.path()).size(), 3);
}

void TestLegacy::showsEveryBookInEachOrdering()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("Shelvio.mdb");
    VERIFY_OK(convertJetCatalogue(copyFixture(legacyFile, dir.filePath("legacy.mdb")), target));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(target), Catalogue::OpenStatus::Opened);
    QCOMPARE(catalogue.bookCount().value_or(-1), qint64(40));

    QList<qint64> byTitle, byAuthor;
    for (const testing::ListedRow& row : testing::listedRows(catalogue.booksByTitle()))
        byTitle << row.id;
    for (const testing::ListedRow& row : testing::listedRows(catalogue.booksByAuthor()))
        byAuthor << row.id;
    QCOMPARE(byTitle.size(), 40);
    QCOMPARE(byAuthor.size(), 40);
    QCOMPARE(QSet<qint64>(byTitle.cbegin(), byTitle.cend()),
             QSet<qint64>(byAuthor.cbegin(), byAuthor.cend()));
    QVERIFY(byTitle.contains(40002));
    // The orphan link (book 12 was deleted) stays out of the category ordering.
    QStringList byCategory;
    for (const testing::ListedRow& row : testing::listedRows(catalogue.booksByCategory()))
        byCategory << row.runName + ":" + QString::number(row.id);
    QCOMPARE(byCategory.size(), 18);
    QVERIFY(!byCategory.contains("Fiction:12"));

    const auto dostoevsky = catalogue.loadBook(14);
    VERIFY_OK(dostoevsky);
    QCOMPARE(dostoevsky->title, QString("Преступление и наказание"));
    const auto longMemo = catalogue.loadBook(26);
    VERIFY_OK(longMemo);
    QCOMPARE(longMemo->comments.size(), 3422);
    QVERIFY(longMemo->comments.endsWith("End of notes."));
    const auto noAuthor = catalogue.loadBook(16);
    VERIFY_OK(noAuthor);
    QVERIFY(noAuthor->author.isEmpty() && noAuthor->firstName.isEmpty());
    QCOMPARE(catalogue.loadBook(33).value_or({}).costUnits.value_or(-1), qint64(12345678));
}

void TestLegacy::caseOnlyCategoriesKeepTheirOwnBooks()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("Shelvio.mdb");
    VERIFY_OK(convertJetCatalogue(copyFixture(legacyFile, dir.filePath("legacy.mdb")), target));
    Catalogue catalogue;
    QCOMPARE(catalogue.open(target), Catalogue::OpenStatus::Opened);
    const auto onFile = catalogue.categoryNames();
    VERIFY_OK(onFile);
    const QStringList names = *onFile;
    QVERIFY(names.contains("Fiction") && names.contains("fiction"));
    QCOMPARE(catalogue.booksUsingCategory("Fiction").value_or(-1), qint64(3)); // books 1, 3 and 11
    QCOMPARE(catalogue.booksUsingCategory("fiction").value_or(-1), qint64(2)); // books 2 and 14
    QCOMPARE(categoriesOf(catalogue, 14), QStringList{"fiction"});

    const auto linksOf = [&](qint64 id) {
        QList<qint64> keys;
        for (const auto& row :
             queryFile(target, "SELECT CategoryKey FROM BookCategoryLink WHERE BookID = ?", {id}))
            keys << row.at(0).toLongLong();
        return keys;
    };
    // Saving a book links it to the category of exactly the name chosen.
    Book kindred = testing::book("Kindred");
    kindred.categories = QStringList{"fiction"};
    const qint64 added = savedId(catalogue, kindred);
    QCOMPARE(linksOf(added), QList<qint64>{2});
    const auto loaded = catalogue.loadBook(14);
    VERIFY_OK(loaded);
    Book book = *loaded;
    book.categories = QStringList{"Fiction"};
    QCOMPARE(savedId(catalogue, book), qint64(14));
    QCOMPARE(linksOf(14), QList<qint64>{1});

    // Deleting "fiction" takes only its own links along.
    VERIFY_OK(catalogue.deleteCategory("fiction"));
    QStringList left = names;
    left.removeAll("fiction");
    QCOMPARE(catalogue.categoryNames().value_or({}), left);
    QCOMPARE(linksOf(added), QList<qint64>{});
    QCOMPARE(linksOf(14), QList<qint64>{1});
    QCOMPARE(catalogue.booksUsingCategory("Fiction").value_or(-1), qint64(4));
}

QTEST_GUILESS_MAIN(TestLegacy)
#include "tst_legacy.moc"
