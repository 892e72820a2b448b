// What keeps a person's input and the report viewer from changing the
// catalogue in ways they should not: fixed statement texts, a viewer that
// cannot write, and files made with the user's own permissions.
#include "catalogue.h"
#include "connection.h"
#include "statement.h"
#include "testcatalogue.h"

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <string>
#include <type_traits>

#include <sys/stat.h>

using namespace shelvio;
using namespace Qt::StringLiterals;
using testing::TestCatalogue;

// A statement's text is known when the program is built: nothing made while
// it runs, however it was put together, becomes one.
static_assert(!std::is_constructible_v<SqlText, QString>);
static_assert(!std::is_constructible_v<SqlText, const char*>);
static_assert(!std::is_constructible_v<SqlText, std::string>);
static_assert(!std::is_constructible_v<SqlText, QByteArray>);
static_assert(!std::is_constructible_v<Statement, QSqlDatabase, QString>);
static_assert(!std::is_constructible_v<Statement, QSqlDatabase, const char*>);

class TestSafeguards : public QObject {
    Q_OBJECT

private slots:
    void onlyFixedTextsReachSqlite();
    void reportConnectionCannotWrite_data();
    void reportConnectionCannotWrite();
    void newCatalogueTakesTheUsersPermissions_data();
    void newCatalogueTakesTheUsersPermissions();
};

// Statement and prepare() take fixed texts only; a query handed any other
// text, or SQL in a window, would slip past them.
void TestSafeguards::onlyFixedTextsReachSqlite()
{
    const QString root = QStringLiteral(SHELVIO_SOURCE_DIR);
    const QRegularExpression textToQuery(QStringLiteral(R"(\.(prepare|exec)\(\s*[^)\s])"));
    const QRegularExpression sqlInWindows(
        QStringLiteral(R"(QSqlQuery|QSqlDatabase|\bSELECT |\bINSERT |\bUPDATE )"));
    QStringList offenders;
    int filesRead = 0;
    for (const QString& folder : {u"store"_s, u"editor"_s, u"reports"_s, u"ui"_s, u"exchange"_s}) {
        QDirIterator files(root + u'/' + folder, {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QString text = QString::fromUtf8(file.readAll());
            ++filesRead;
            const bool inStore = folder == u"store"_s;
            if (inStore && !path.endsWith(u"/internal/statement.cpp"_s) && text.contains(textToQuery))
                offenders << path;
            if (!inStore && text.contains(sqlInWindows))
                offenders << path;
        }
    }
    QVERIFY(filesRead > 50);
    QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(u", "_s)));
}

void TestSafeguards::reportConnectionCannotWrite_data()
{
    QTest::addColumn<int>("attempt");
    QTest::newRow("insert") << 0;
    QTest::newRow("update") << 1;
    QTest::newRow("delete") << 2;
    QTest::newRow("new table") << 3;
    QTest::newRow("journal mode") << 4;
    QTest::newRow("second file") << 5;
}

// The viewer's connection, opened the way the report reader opens it,
// refuses every kind of change and leaves the file's bytes as they were.
void TestSafeguards::reportConnectionCannotWrite()
{
    QFETCH(int, attempt);
    TestCatalogue file;
    file.addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"), {u"Novels"_s});
    const QByteArray before = file.bytes();
    const QString elsewhere = file.folder() + u"/other.db"_s;

    Result<QSqlDatabase> db = openConnection(file.path(), Access::ReadOnly);
    VERIFY_OK(db);
    Status changed;
    {
        switch (attempt) {
        case 0:
            changed = Statement(*db, "INSERT INTO Category (CategoryName) VALUES ('Poems')").run();
            break;
        case 1:
            changed = Statement(*db, "UPDATE Books SET Title = 'Persuasion'").run();
            break;
        case 2:
            changed = Statement(*db, "DELETE FROM BookCategoryLink").run();
            break;
        case 3:
            changed = Statement(*db, "CREATE TABLE Notes (Text VARCHAR(255))").run();
            break;
        case 4:
            changed = Statement(*db, "PRAGMA journal_mode = WAL").run();
            if (changed)
                changed = Statement(*db, "DELETE FROM Books").run();
            break;
        default:
            // A file beside it, attached and written, would be another way out.
            changed = Statement(*db, "ATTACH DATABASE ? AS other").run({elsewhere});
            if (changed)
                changed = Statement(*db, "CREATE TABLE other.Notes (Text)").run();
            break;
        }
    }
    closeConnection(*db);
    QVERIFY(!changed);
    QCOMPARE(file.bytes(), before);
    QVERIFY(!QFile::exists(file.path() + u"-wal"_s));
    QVERIFY(!QFile::exists(elsewhere) || QFileInfo(elsewhere).size() == 0);
}

void TestSafeguards::newCatalogueTakesTheUsersPermissions_data()
{
    QTest::addColumn<int>("mask");
    QTest::newRow("usual") << 0022;
    QTest::newRow("group kept") << 0027;
    QTest::newRow("private") << 0077;
}

// A new catalogue is made with rw-r--r-- less the user's umask, as any
// other file the user makes.
void TestSafeguards::newCatalogueTakesTheUsersPermissions()
{
    QFETCH(int, mask);
    const auto mode = [](const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Shelvio.mdb"_s);
    const mode_t maskBefore = ::umask(mode_t(mask));
    Catalogue catalogue;
    const Catalogue::OpenStatus opened = catalogue.open(path);
    ::umask(maskBefore);
    QCOMPARE(opened, Catalogue::OpenStatus::Created);
    QCOMPARE(mode(path), 0644 & ~mask);
}

QTEST_GUILESS_MAIN(TestSafeguards)
#include "tst_safeguards.moc"
