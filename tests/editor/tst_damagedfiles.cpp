// Every kind of missing, damaged, foreign or unreachable catalogue file,
// handed to the editor at start-up, to the report viewer (its window and its
// command line) and to restore as a backup: a message that names the file
// and the cause, no crash, no hang, and the file exactly as it was.
#include "catalogue.h"
#include "cataloguefiles.h"
#include "cataloguehost.h"
#include "damagedfiles.h"
#include "frmbooklist.h"
#include "frmmain.h"
#include "frmrestoreshelvio.h"
#include "reporttesting.h"
#include "reportviewer.h"
#include "reportwindow.h"
#include "scriptedprompter.h"
#include "testcatalogue.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace shelvio;
using shelvio::reports::frmMain;
using shelvio::reports::ReportWindow;
using namespace Qt::StringLiterals;
using testing::DamagedFile;
using testing::ScriptedPrompter;

namespace {

// Longer than any program waits for a lock.
constexpr int lockHeldMs = 8000;

const DamagedFile& kindOfRow()
{
    QFETCH_GLOBAL(int, kind);
    return testing::damagedFiles().at(kind);
}

// A folder of the test's own holding the damaged file under `name`; puts
// back what a read-only kind took away, so that the folder can go.
struct DamagedFolder {
    QTemporaryDir dir;
    QString path;
    std::optional<testing::LockHolder> lock;

    DamagedFolder(const DamagedFile& kind, const QString& name)
        : path(dir.filePath(name))
    {
        if (kind.permissionsMatter)
            testing::openToOthers(dir.path());
        kind.make(path);
        if (kind.locked)
            lock.emplace(path, lockHeldMs);
    }
    ~DamagedFolder()
    {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

// Checks that the one message shown names the file and holds the cause.
void checkMessage(const QStringList& shown, const QString& path, const QString& says)
{
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(QDir::toNativeSeparators(path)) && shown.first().contains(says),
             qPrintable(shown.first()));
}

QStringList texts(const ScriptedPrompter& prompter)
{
    QStringList shown;
    for (const auto& prompt : prompter.prompts())
        shown << prompt.text;
    return shown;
}

} // namespace

class TestDamagedFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data() { testing::addDamagedFileRows(); }
    void cleanup();
    void editorAtStartUp();
    void viewerWindow();
    void viewerCommandLine();
    void restoreOfferedIt();
};

// A viewer that ended asked the application to quit, which would close the
// next test's modal windows at once: a run of the application's own loop,
// ended at once, clears that.
void TestDamagedFiles::cleanup()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void TestDamagedFiles::editorAtStartUp()
{
    const DamagedFile& kind = kindOfRow();
    DamagedFolder folder(kind, u"Shelvio.mdb"_s);
    QVERIFY(!kind.locked || folder.lock->holds());
    const QByteArray before = testing::fingerprint(folder.path);
    ScriptedPrompter prompter;
    frmBookList window(locateCatalogue(folder.dir.path()), folder.dir.path(), prompter);
    bool loaded = false;
    {
        std::optional<testing::PermissionBitsApply> bitsApply;
        if (kind.permissionsMatter)
            bitsApply.emplace();
        loaded = window.load();
    }
    QCOMPARE(loaded, kind.editorOpens);
    QCOMPARE(prompter.unansweredQuestions(), 0);
    if (kind.editorSays.isEmpty())
        QCOMPARE(texts(prompter), QStringList());
    else
        checkMessage(texts(prompter), folder.path, kind.editorSays);
    if (before == "absent")
        VERIFY_OK(checkCatalogueFile(folder.path)); // the one file the editor makes
    else
        QCOMPARE(testing::fingerprint(folder.path), before);
}

void TestDamagedFiles::viewerWindow()
{
    const DamagedFile& kind = kindOfRow();
    DamagedFolder folder(kind, u"Shelvio.mdb"_s);
    const QByteArray before = testing::fingerprint(folder.path);
    ScriptedPrompter messages;
    frmMain menu(folder.path, &messages);
    menu.show();
    QStringList titles;
    QTimer::singleShot(0, &menu, [&] {
        if (auto* window = qobject_cast<ReportWindow*>(QApplication::activeModalWidget())) {
            window->viewer()->finishLayout();
            titles = testing::allTexts(window->viewer()->document());
            window->close();
        }
    });
    QTest::mouseClick(menu.findChild<QPushButton*>(u"Command12"_s), Qt::LeftButton);
    if (kind.viewerSays.isEmpty()) {
        QCOMPARE(texts(messages), QStringList());
        QVERIFY2(titles.join(u'\n').contains(testing::wholeCatalogueTitle()), qPrintable(titles.join(u'\n')));
        QVERIFY(!menu.hasEnded());
    } else {
        checkMessage(texts(messages), folder.path, kind.viewerSays);
        QVERIFY(menu.hasEnded());
        QCOMPARE(menu.exitCode(), 1);
    }
    QCOMPARE(testing::fingerprint(folder.path), before);
}

void TestDamagedFiles::viewerCommandLine()
{
    const DamagedFile& kind = kindOfRow();
    DamagedFolder folder(kind, u"Shelvio.mdb"_s);
    const QByteArray before = testing::fingerprint(folder.path);
    const QString pdf =
        QDir::temp().filePath(u"tomarium-damaged-%1.pdf"_s.arg(QCoreApplication::applicationPid()));
    QProcess viewer;
    viewer.start(qEnvironmentVariable("SHELVIO_PROGRAM_DIR") + u"/shelvioreports"_s,
                 {u"-platform"_s, u"offscreen"_s, u"--catalogue"_s, folder.path, u"--pdf"_s,
                  u"crBooksByTitle"_s, pdf});
    QVERIFY(viewer.waitForFinished(60000));
    const QString said = QString::fromUtf8(viewer.readAllStandardError());
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    if (kind.viewerSays.isEmpty()) {
        QCOMPARE(viewer.exitCode(), 0);
        QVERIFY(testing::pdfText(pdf).contains(testing::wholeCatalogueTitle()));
    } else {
        QVERIFY(viewer.exitCode() != 0);
        // Its own words come last, after any of Qt's.
        checkMessage({said.trimmed().split(u'\n').constLast()}, folder.path, kind.viewerSays);
        QVERIFY(!QFile::exists(pdf));
    }
    QFile::remove(pdf);
    QCOMPARE(testing::fingerprint(folder.path), before);
}

void TestDamagedFiles::restoreOfferedIt()
{
    const DamagedFile& kind = kindOfRow();
    testing::TestCatalogue file;
    file.addBook(u"Kept"_s);
    Catalogue catalogue;
    QCOMPARE(catalogue.open(file.path()), Catalogue::OpenStatus::Opened);
    ScriptedPrompter prompter;
    int ended = 0;
    CatalogueHost host(catalogue, prompter, [&] { ++ended; });
    DamagedFolder folder(kind, backupFileName());
    const QByteArray backupBefore = testing::fingerprint(folder.path);
    const QByteArray catalogueBefore = file.bytes();
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.dir.path()));
    {
        frmRestoreShelvio window(host);
        window.show();
        prompter.queueAnswer(Prompter::Answer::Yes);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    }
    QDir::setCurrent(current);
    QCOMPARE(testing::fingerprint(folder.path), backupBefore);
    if (kind.restoreSays.isEmpty()) {
        QCOMPARE(ended, 1);
        QCOMPARE(file.bytes(), testing::fileBytes(folder.path));
        return;
    }
    QCOMPARE(ended, 0);
    QStringList shown = texts(prompter);
    shown.removeAll(u"Are you sure you want to restore this file?  All Contents on your current file will be "
                    u"replaced."_s);
    // The missing backup has its own fixed words, which name the file.
    checkMessage(shown, backupBefore == "absent" ? backupFileName() : folder.path, kind.restoreSays);
    QCOMPARE(file.bytes(), catalogueBefore);
    QVERIFY(catalogue.isOpen());
}

QTEST_MAIN(TestDamagedFiles)
#include "tst_damagedfiles.moc"
