// A catalogue survives its program being killed at any moment. A second
// process (catalogue_worker churn) makes every kind of change the editor
// makes, at random, and is killed with SIGKILL at a random moment, again and
// again; after each kill the catalogue and the backup must be whole:
// SQLite's integrity check passes, every book is wholly as before or wholly
// as after its change (its row and its link rows agree), no link points at
// nothing, and nothing half-written lies beside either file.
//
// SHELVIO_KILLS sets the number of kills (200 by default), SHELVIO_KILL_SEED
// the random seed (printed, to replay a run).
#include "atomicfile.h"
#include "cataloguefiles.h"
#include "testcatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace shelvio;

namespace {

int killCount()
{
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("SHELVIO_KILLS", &ok);
    return ok && kills > 0 ? kills : 200;
}

quint32 killSeed()
{
    bool ok = false;
    const uint seed = qEnvironmentVariable("SHELVIO_KILL_SEED").toUInt(&ok);
    return ok ? seed : QRandomGenerator::global()->generate();
}

// What is wrong with the catalogue file, or nothing: its integrity, links
// without their book or category, and books whose links disagree with the
// categories their comments name (less those deleted since).
QString problemsOf(const QString& path)
{
    const auto integrity = testing::queryFile(path, QStringLiteral("PRAGMA integrity_check"));
    if (integrity.value(0).value(0).toString() != QLatin1String("ok"))
        return QStringLiteral("integrity: ") + integrity.value(0).value(0).toString();
    const auto orphans = testing::queryFile(
        path, QStringLiteral("SELECT count(*) FROM BookCategoryLink l "
                             "WHERE NOT EXISTS (SELECT 1 FROM Books b WHERE b.BookID = l.BookID) "
                             "OR NOT EXISTS (SELECT 1 FROM Category c WHERE c.CategoryID = l.CategoryKey)"));
    if (orphans.value(0).value(0).toInt() != 0)
        return QStringLiteral("%1 links point at nothing").arg(orphans.value(0).value(0).toInt());
    QSet<QString> existing;
    for (const auto& row : testing::queryFile(path, QStringLiteral("SELECT CategoryName FROM Category")))
        existing << row.value(0).toString();
    QMap<qint64, QSet<QString>> linked;
    for (const auto& row : testing::queryFile(path, QStringLiteral("SELECT l.BookID, c.CategoryName FROM "
                                                                   "BookCategoryLink l JOIN Category c ON "
                                                                   "c.CategoryID = l.CategoryKey")))
        linked[row.value(0).toLongLong()] << row.value(1).toString();
    for (const auto& row : testing::queryFile(path, QStringLiteral("SELECT BookID, Comments FROM Books"))) {
        const qint64 id = row.value(0).toLongLong();
        const QStringList named = row.value(1).toString().split(u'\n', Qt::SkipEmptyParts);
        const QSet<QString> expected = QSet<QString>(named.begin(), named.end()) & existing;
        if (linked.value(id) != expected)
            return QStringLiteral("book %1 is half-changed: its links and its comments disagree").arg(id);
    }
    return {};
}

// A journal SQLite never began (its header still zero) is harmless and goes
// with the next change; a begun one left after the check opened the file
// would be a change neither played back nor finished.
bool journalBegun(const QString& cataloguePath)
{
    const QByteArray header = testing::fileBytes(cataloguePath + QStringLiteral("-journal")).left(8);
    return header.size() == 8 && header != QByteArray(8, '\0');
}

// The files in a folder, hidden ones too, other than those named.
QStringList strayFiles(const QString& folder, const QStringList& expected)
{
    QStringList stray = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : expected)
        stray.removeAll(name);
    return stray;
}

} // namespace

class TestKillSafety : public QObject {
    Q_OBJECT
private slots:
    void survivesKillsAtAnyMoment();
};

void TestKillSafety::survivesKillsAtAnyMoment()
{
    testing::TestCatalogue file;
    for (const char* name : {"Fiction", "History", "Poetry"})
        file.addCategory(QString::fromLatin1(name));
    // Big enough that a copy or a commit takes a while to be killed in.
    file.addManyBooks(1500, [](int i) {
        Book book = testing::book(QStringLiteral("Seed %1").arg(i), QStringLiteral("Seed"));
        book.dateRead = QString(300, QLatin1Char('x'));
        return book;
    });
    QTemporaryDir backups;
    const QString backup = backupFilePath(backups.path());
    const QString catalogueName = QFileInfo(file.path()).fileName();
    const quint32 seed = killSeed();
    QRandomGenerator random(seed);
    const int kills = killCount();
    qInfo("kill seed %u", seed);

    QMap<QString, int> killedIn; // the action under way at each kill
    int checks = 0;
    int standIns = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess worker;
        worker.start(
            QCoreApplication::applicationDirPath() + QStringLiteral("/catalogue_worker"),
            {QStringLiteral("churn"), file.path(), backups.path(), QString::number(random.generate())});
        QVERIFY2(worker.waitForReadyRead(20000), qPrintable(worker.readAllStandardError()));
        QThread::msleep(random.bounded(80));
        worker.kill(); // SIGKILL: no handler runs, nothing is flushed
        QVERIFY(worker.waitForFinished(20000));
        const QStringList said =
            QString::fromUtf8(worker.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        const QString last = said.isEmpty() ? QString() : said.last();
        killedIn[last.startsWith(QLatin1String("begin ")) ? last.mid(6)
                                                          : QStringLiteral("between actions")]++;

        const QString catalogueProblem = problemsOf(file.path());
        QVERIFY2(catalogueProblem.isEmpty(),
                 qPrintable(QStringLiteral("after kill %1 (%2): %3").arg(kill).arg(last, catalogueProblem)));
        ++checks;
        // Beside each file, nothing but the file, a journal SQLite never
        // began, and at most the whole copy a kill between naming it and
        // renaming it left (the next write clears both).
        const QStringList allowedBesideBackup{backupFileName(),
                                              QFileInfo(partialFilePath(backup)).fileName()};
        const QStringList allowedBesideCatalogue{catalogueName, catalogueName + QStringLiteral("-journal"),
                                                 QFileInfo(partialFilePath(file.path())).fileName()};
        QVERIFY2(!journalBegun(file.path()),
                 qPrintable(QStringLiteral("after kill %1 (%2)").arg(kill).arg(last)));
        QCOMPARE(strayFiles(backups.path(), allowedBesideBackup), QStringList());
        QCOMPARE(strayFiles(file.folder(), allowedBesideCatalogue), QStringList());
        for (const QString& copy : {backup, partialFilePath(backup), partialFilePath(file.path())}) {
            if (!QFileInfo::exists(copy))
                continue;
            const QString copyProblem = problemsOf(copy);
            QVERIFY2(
                copyProblem.isEmpty(),
                qPrintable(
                    QStringLiteral("after kill %1 (%2), %3: %4").arg(kill).arg(last, copy, copyProblem)));
            standIns += copy != backup;
            ++checks;
        }
    }
    QStringList summary;
    for (auto it = killedIn.cbegin(); it != killedIn.cend(); ++it)
        summary << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    qInfo("%d kills survived (%s); %d checks passed, %d of them of a whole copy left under its hidden name "
          "by a kill between naming and renaming it",
          kills, qPrintable(summary.join(QStringLiteral(", "))), checks, standIns);
}

QTEST_GUILESS_MAIN(TestKillSafety)
#include "tst_killsafety.moc"
