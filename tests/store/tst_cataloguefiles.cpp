#include "atomicfile.h"
#include "catalogue.h"
#include "cataloguefiles.h"
#include "connection.h"
#include "filesizelimit.h"
#include "testcatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace shelvio;
using testing::TestCatalogue;

namespace {

QString fixture(const QString& name)
{
    return testing::fixturesFolder() + QStringLiteral("/legacy/") + name;
}

// Books of some size, so that a catalogue of a few hundred spans many pages.
Book longBook(int i, const QString& author)
{
    Book book = testing::book(QStringLiteral("Book %1").arg(i), author);
    book.comments = QString(400, QLatin1Char('x'));
    return book;
}

void fillWithBooks(TestCatalogue& file, int count)
{
    file.addManyBooks(count, [](int i) { return longBook(i, QStringLiteral("Author %1").arg(i)); });
}

} // namespace

class TestCatalogueFiles : public QObject {
    Q_OBJECT
private slots:
    void copiesEveryByteAndReplacesTheTarget();
    void backupBesideAWriterHoldsOnlyWholeBooks();
    void copiesKeepTheCataloguesPermissions_data();
    void copiesKeepTheCataloguesPermissions();
    void aKilledCopysLeftoverIsCleared();
    void refusesATargetFolderThatCannotHoldFiles_data();
    void refusesATargetFolderThatCannotHoldFiles();
    void failedCopyLeavesThePreviousTargetWhole();
    void namesAMissingSource();
    void findsABackupOnlyByItsExactName();
    void acceptsOnlyWholeCatalogues_data();
    void acceptsOnlyWholeCatalogues();
    void replacementTouchesNothingUntilCommitted();
    void replacementRefusesABadBackup();
    void replacementWaitsForAnUnfinishedChange();
    void replacementConvertsAJetBackup_data();
    void replacementConvertsAJetBackup();
};

void TestCatalogueFiles::copiesEveryByteAndReplacesTheTarget()
{
    TestCatalogue first;
    first.addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    TestCatalogue second;
    second.addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    QTemporaryDir target;
    const QString backup = backupFilePath(target.path());

    VERIFY_OK(copyFileAtomically(first.path(), backup));
    QCOMPARE(testing::fileBytes(backup), first.bytes());
    // A second copy replaces the first without a question.
    VERIFY_OK(copyFileAtomically(second.path(), backup));
    QCOMPARE(testing::fileBytes(backup), second.bytes());
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Shelvo.bak"});
}

// A backup and a restore keep the permission bits the catalogue has, whatever
// the umask: a catalogue kept private stays private in its backup.
void TestCatalogueFiles::copiesKeepTheCataloguesPermissions_data()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("private") << 0600;
    QTest::newRow("group may read") << 0640;
    QTest::newRow("everyone may read") << 0644;
    QTest::newRow("shared with the group") << 0660;
}

void TestCatalogueFiles::copiesKeepTheCataloguesPermissions()
{
    QFETCH(int, bits);
    TestCatalogue file;
    file.addBook(QStringLiteral("Emma"));
    const auto mode = [](const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    };
    QCOMPARE(::chmod(QFile::encodeName(file.path()).constData(), mode_t(bits)), 0);
    const mode_t umaskBefore = ::umask(0077);
    QTemporaryDir folder;
    const QString backup = backupFilePath(folder.path());
    VERIFY_OK(copyFileAtomically(file.path(), backup));
    QCOMPARE(mode(backup), bits);
    // The restored file takes the bits of the catalogue it replaces.
    QCOMPARE(::chmod(QFile::encodeName(backup).constData(), 0666), 0);
    CatalogueReplacement replacement(backup, file.path());
    VERIFY_OK(replacement.prepare());
    VERIFY_OK(replacement.commit());
    ::umask(umaskBefore);
    QCOMPARE(mode(file.path()), bits);
}

// A copy killed between naming its finished file and renaming it leaves that
// whole copy under a hidden name; the next copy to the same place clears it
// and nothing else.
void TestCatalogueFiles::aKilledCopysLeftoverIsCleared()
{
    TestCatalogue file;
    QTemporaryDir folder;
    const QString backup = backupFilePath(folder.path());
    testing::writeFile(partialFilePath(backup), "a copy a killed program left");
    testing::writeFile(folder.filePath(QStringLiteral("notes.txt")), "the user's own");
    VERIFY_OK(copyFileAtomically(file.path(), backup));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"notes.txt", "Shelvo.bak"}));
    QCOMPARE(testing::fileBytes(backup), file.bytes());
}

// Another program saves books, each with three categories, all through
// twenty backups: every backup must be a whole catalogue, holding each book
// with all three of its links.
void TestCatalogueFiles::backupBesideAWriterHoldsOnlyWholeBooks()
{
    TestCatalogue file;
    for (const char* name : {"One", "Two", "Three"})
        file.addCategory(QString::fromLatin1(name));
    // A file of some megabytes, so that a copy takes long enough to meet
    // the writer's commits.
    file.addManyBooks(8000, [](int i) { return longBook(i, QStringLiteral("Seed")); });
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);

    QProcess writer;
    writer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/catalogue_worker"),
                 {QStringLiteral("save-books"), file.path()});
    QVERIFY2(writer.waitForReadyRead(10000), qPrintable(writer.readAllStandardError()));
    QTemporaryDir folder;
    const QString backup = backupFilePath(folder.path());
    const qint64 before = file.scalar(QStringLiteral("SELECT count(*) FROM Books")).toLongLong();
    for (int i = 0; i < 20; ++i) {
        VERIFY_OK(catalogue.copyFileTo(backup));
        QCOMPARE(testing::queryFile(backup, QStringLiteral("PRAGMA integrity_check")).value(0).value(0),
                 QVariant(QStringLiteral("ok")));
        const auto halfBooks = testing::queryFile(
            backup,
            QStringLiteral("SELECT count(*) FROM Books b WHERE Author = 'Worker' AND "
                           "(SELECT count(*) FROM BookCategoryLink l WHERE l.BookID = b.BookID) <> 3"));
        QCOMPARE(halfBooks.value(0).value(0).toInt(), 0);
        const auto strayLinks = testing::queryFile(
            backup, QStringLiteral("SELECT count(*) FROM BookCategoryLink l "
                                   "WHERE NOT EXISTS (SELECT 1 FROM Books b WHERE b.BookID = l.BookID)"));
        QCOMPARE(strayLinks.value(0).value(0).toInt(), 0);
    }
    writer.kill();
    writer.waitForFinished();
    // The writer was really at work during the backups.
    QVERIFY(file.scalar(QStringLiteral("SELECT count(*) FROM Books")).toLongLong() > before);
}

// clang-format off
void TestCatalogueFiles::refusesATargetFolderThatCannotHoldFiles_data()
{
    QTest::addColumn<QString>("folder");
    // Tests run as root, which permission bits do not stop; these folders
    // refuse new files whoever asks.
    QTest::newRow("parent is a file") << QStringLiteral("FILE/inner");
    QTest::newRow("missing folder") << QStringLiteral("no/such/folder");
    QTest::newRow("kernel file system") << QStringLiteral("/proc");
}
// clang-format on

void TestCatalogueFiles::refusesATargetFolderThatCannotHoldFiles()
{
    QFETCH(QString, folder);
    TestCatalogue source;
    QTemporaryDir work;
    testing::writeFile(work.filePath(QStringLiteral("FILE")), "plain file");
    if (!folder.startsWith(QLatin1Char('/')))
        folder = work.filePath(folder);
    const QString target = backupFilePath(folder);
    const Status copied = copyFileAtomically(source.path(), target);
    QVERIFY(!copied);
    QVERIFY2(copied.error().text().contains(target), qPrintable(copied.error().text()));
    QVERIFY(!QFile::exists(target));
}

void TestCatalogueFiles::failedCopyLeavesThePreviousTargetWhole()
{
    TestCatalogue source;
    fillWithBooks(source, 50);
    QTemporaryDir target;
    const QString backup = backupFilePath(target.path());
    testing::writeFile(backup, "the previous backup");
    QString error;
    {
        // The disk fills up part-way through the copy.
        testing::FileSizeLimit limit(16 * 1024);
        const Status copied = copyFileAtomically(source.path(), backup);
        QVERIFY(!copied);
        error = copied.error().text();
    }
    QVERIFY2(error.contains(backup) && error.contains(QStringLiteral("cannot be written")),
             qPrintable(error));
    QCOMPARE(testing::fileBytes(backup), QByteArray("the previous backup"));
    // The half-written temporary file is gone.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Shelvo.bak"});
}

void TestCatalogueFiles::namesAMissingSource()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Shelvio.mdb"));
    const Status copied = copyFileAtomically(source, backupFilePath(dir.path()));
    QVERIFY(!copied);
    const QString error = copied.error().text();
    QVERIFY2(error.contains(source) && error.contains(QStringLiteral("cannot be read")), qPrintable(error));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestCatalogueFiles::findsABackupOnlyByItsExactName()
{
    QTemporaryDir dir;
    QVERIFY(!folderHoldsBackup(dir.path()));
    testing::writeFile(dir.filePath(QStringLiteral("shelvo.bak")), "x");
    testing::writeFile(dir.filePath(QStringLiteral("Shelvo.bak.old")), "x");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("SHELVO.BAK")));
    QVERIFY(!folderHoldsBackup(dir.path()));
    testing::writeFile(dir.filePath(QStringLiteral("Shelvo.bak")), "x");
    QVERIFY(folderHoldsBackup(dir.path()));
}

// clang-format off
void TestCatalogueFiles::acceptsOnlyWholeCatalogues_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedProblem"); // empty: accepted
    QTest::newRow("catalogue") << "catalogue"
                               << "";
    QTest::newRow("missing") << "missing"
                             << "was not found";
    QTest::newRow("empty") << "empty"
                           << "is empty";
    QTest::newRow("text") << "text"
                          << "not an SQLite database";
    QTest::newRow("Jet catalogue") << "jet"
                                   << "older Jet database format";
    QTest::newRow("other SQLite") << "sqlite"
                                  << "is not a catalogue file";
    QTest::newRow("damaged pages") << "damaged"
                                   << "is damaged";
}
// clang-format on

void TestCatalogueFiles::acceptsOnlyWholeCatalogues()
{
    QFETCH(QString, kind);
    QFETCH(QString, expectedProblem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Shelvo.bak"));
    TestCatalogue catalogue;
    if (kind == "catalogue") {
        QVERIFY(QFile::copy(catalogue.path(), path));
    } else if (kind == "empty") {
        testing::writeFile(path, {});
    } else if (kind == "text") {
        testing::writeFile(path, "Dune, Emma, Ulysses\n");
    } else if (kind == "jet") {
        QVERIFY(QFile::copy(fixture(QStringLiteral("Shelvio-legacy.mdb")), path));
    } else if (kind == "sqlite") {
        testing::queryFile(path, QStringLiteral("CREATE TABLE Customers (id INTEGER)"));
    } else if (kind == "damaged") {
        fillWithBooks(catalogue, 300);
        QByteArray bytes = catalogue.bytes();
        // Page 1 (the schema) stays whole; a run of pages in the middle,
        // where the books lie, is overwritten.
        const qsizetype pageSize = 4096;
        QVERIFY(bytes.size() > 20 * pageSize);
        bytes.replace(8 * pageSize, 4 * pageSize, QByteArray(4 * pageSize, '\xff'));
        testing::writeFile(path, bytes);
    }
    const Status accepted = checkCatalogueFile(path);
    if (expectedProblem.isEmpty()) {
        VERIFY_OK(accepted);
        return;
    }
    QVERIFY(!accepted);
    const QString problem = accepted.error().text();
    QVERIFY2(problem.contains(path) && problem.contains(expectedProblem), qPrintable(problem));
}

void TestCatalogueFiles::replacementTouchesNothingUntilCommitted()
{
    TestCatalogue current;
    current.addBook(QStringLiteral("Current"));
    TestCatalogue backup;
    backup.addBook(QStringLiteral("Restored"));
    const QByteArray before = current.bytes();
    {
        CatalogueReplacement abandoned(backup.path(), current.path());
        VERIFY_OK(abandoned.prepare());
        QCOMPARE(current.bytes(), before);
    }
    // Abandoned after prepare(): no temporary file stays behind.
    QCOMPARE(QDir(current.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Shelvio.mdb"});

    CatalogueReplacement replacement(backup.path(), current.path());
    VERIFY_OK(replacement.prepare());
    VERIFY_OK(replacement.commit());
    QCOMPARE(current.bytes(), backup.bytes());
}

void TestCatalogueFiles::replacementRefusesABadBackup()
{
    TestCatalogue current;
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("Shelvo.bak"));
    testing::writeFile(bad, "not a catalogue at all");
    const QByteArray before = current.bytes();
    CatalogueReplacement replacement(bad, current.path());
    const Status prepared = replacement.prepare();
    QVERIFY(!prepared);
    QVERIFY2(prepared.error().text().contains(bad), qPrintable(prepared.error().text()));
    QVERIFY(!replacement.commit());
    QCOMPARE(current.bytes(), before);
    QCOMPARE(QDir(current.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Shelvio.mdb"});
}

// SQLite would play a journal left beside the file back into whatever file
// then has the catalogue's name. A program part-way through a change is
// waited out and then refused; a journal never begun (its writer killed
// before it wrote the journal's header) is harmless and does not stop a
// restore.
void TestCatalogueFiles::replacementWaitsForAnUnfinishedChange()
{
    TestCatalogue current;
    TestCatalogue backup;
    backup.addBook(QStringLiteral("Restored"));
    const QByteArray before = current.bytes();
    {
        QSqlDatabase writer = testing::openOrStop(current.path());
        {
            QSqlQuery change(writer);
            QVERIFY(change.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            CatalogueReplacement replacement(backup.path(), current.path());
            VERIFY_OK(replacement.prepare());
            const Status committed = replacement.commit();
            QVERIFY(!committed);
            QVERIFY2(committed.error().text().contains(current.path()) &&
                         committed.error().text().contains(QStringLiteral("another program")),
                     qPrintable(committed.error().text()));
            QVERIFY(change.exec(QStringLiteral("ROLLBACK")));
        }
        closeConnection(writer);
    }
    QCOMPARE(current.bytes(), before);

    testing::writeFile(current.path() + QStringLiteral("-journal"), QByteArray(512, '\0'));
    CatalogueReplacement replacement(backup.path(), current.path());
    VERIFY_OK(replacement.prepare());
    VERIFY_OK(replacement.commit());
    QCOMPARE(current.bytes(), backup.bytes());
}

// clang-format off
void TestCatalogueFiles::replacementConvertsAJetBackup_data()
{
    QTest::addColumn<QString>("fixtureName");
    QTest::addColumn<QString>("expectedProblem"); // empty: restored
    QTest::newRow("Jet catalogue") << "Shelvio-legacy.mdb" << "";
    QTest::newRow("Jet file of other tables") << "NotACatalogue.mdb" << "no table Books";
}
// clang-format on

void TestCatalogueFiles::replacementConvertsAJetBackup()
{
    QFETCH(QString, fixtureName);
    QFETCH(QString, expectedProblem);
    TestCatalogue current;
    current.addBook(QStringLiteral("Current"));
    QTemporaryDir dir;
    const QString backup =
        testing::copyFixture("legacy/" + fixtureName, dir.filePath(QStringLiteral("Shelvo.bak")));
    const QByteArray backupBytes = testing::fileBytes(backup);
    const QByteArray before = current.bytes();

    CatalogueReplacement replacement(backup, current.path());
    const Status prepared = replacement.prepare();
    // The conversion leaves nothing beside the catalogue but the staged copy.
    const QDir folder(current.folder());
    QCOMPARE(folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QCOMPARE(testing::fileBytes(backup), backupBytes);
    if (!expectedProblem.isEmpty()) {
        QVERIFY(!prepared);
        const QString error = prepared.error().text();
        QVERIFY2(error.contains(backup) && error.contains(expectedProblem), qPrintable(error));
        QCOMPARE(current.bytes(), before);
        return;
    }
    VERIFY_OK(prepared);
    QCOMPARE(current.bytes(), before);
    VERIFY_OK(replacement.commit());
    QCOMPARE(current.scalar(QStringLiteral("SELECT count(*) FROM Books")).toLongLong(), qint64(40));
    const QVariant nextKey =
        current.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'Books'"));
    QCOMPARE(nextKey.toLongLong(), qint64(40002));
}

QTEST_GUILESS_MAIN(TestCatalogueFiles)
#include "tst_cataloguefiles.moc"
