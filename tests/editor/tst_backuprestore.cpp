#include "backuprestorewindows.h"
#include "catalogue.h"
#include "cataloguefiles.h"
#include "cataloguehost.h"
#include "drives.h"
#include "editorharness.h"
#include "filesizelimit.h"
#include "folderpickers.h"
#include "frmbackupshelvio.h"
#include "frmbooklist.h"
#include "frmrestoreshelvio.h"
#include "scriptedprompter.h"
#include "testcatalogue.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <memory>

using namespace shelvio;
using testing::ScriptedPrompter;
using testing::TestCatalogue;
using Prompt = ScriptedPrompter::Prompt;

Q_DECLARE_METATYPE(shelvio::Prompter::Answer)

namespace {

const QString missingBackupText = QStringLiteral(
    "Your Backup file is not located at the location specified.  The file Shelvo.bak must exist in the "
    "location specified to perform backup.");
const QString verifyText = QStringLiteral(
    "Are you sure you want to restore this file?  All Contents on your current file will be replaced.");
const QString restoredText =
    QStringLiteral("Restore of Shelvio was successful.  Restart Program for restored data.");

// The editor's side of the windows: its catalogue open on a file of its own.
struct Editor {
    TestCatalogue file;
    Catalogue catalogue;
    ScriptedPrompter prompter;
    int ended = 0;
    CatalogueHost host{catalogue, prompter, [this] {
                           ++ended;
                       }};

    Editor() { catalogue.open(file.path()); }
};

QStringList sortTitles(const QString& path)
{
    Catalogue catalogue;
    catalogue.open(path, Access::ReadOnly);
    return testing::listedTitles(catalogue.booksByTitle());
}

// Highlights the folder in Dir1 and opens it with Enter, as a keyboard user.
void openFolder(QWidget* window, const QString& path)
{
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("Dir1"));
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    tree->setCurrentIndex(model->index(path));
    QTest::keyClick(tree, Qt::Key_Return);
}

void press(QWidget* window, const char* button = "Command1")
{
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

QStringList listedFiles(QWidget* window)
{
    auto* list = window->findChild<QListView*>(QStringLiteral("File1"));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
    names.sort();
    return names;
}

template <class Window> Window* openWindowOf(QWidget* main, const char* action)
{
    main->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

class TestBackupRestore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowsCarryTheirCaptions();
    void pickersStartAtTheCurrentFolder();
    void onlyAnOpenedFolderIsChosen();
    void restoreListsOnlyTheBackupFile();
    void refusesAFolderThatCannotBeRead();
    void drivesHoldUserFilesOnly_data();
    void drivesHoldUserFilesOnly();

    void backupIsTheCatalogueAsLastSaved();
    void backupToAFolderThatTakesNoFiles();
    void backupOnAFullDiskKeepsThePreviousBackup();

    void restoreAnswersThatChangeNothing_data();
    void restoreAnswersThatChangeNothing();
    void restoreRefusesWhatIsNotACatalogue();
    void restoreReplacesTheCatalogueAndEndsTheEditor();
    void restoreConvertsAnOldJetBackup();
    void failedReplacementOpensTheOldCatalogueAgain();

    void realMessageBoxAsksAboutAMissingBackup();
    // Runs the application's event loop to its end: keep it last.
    void oneWindowOfEachOutlivesTheMainWindow();

private:
    std::unique_ptr<QTemporaryDir> m_start;
    QString m_previousCurrent;
};

void TestBackupRestore::init()
{
    // Each test's windows start in an empty folder of their own.
    m_start = std::make_unique<QTemporaryDir>();
    m_previousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_start->path()));
}

void TestBackupRestore::cleanup()
{
    QDir::setCurrent(m_previousCurrent);
    m_start.reset();
}

void TestBackupRestore::windowsCarryTheirCaptions()
{
    Editor editor;
    frmBackupShelvio backup(editor.host);
    QCOMPARE(backup.windowTitle(), QStringLiteral("Tomarium Backup"));
    const auto* title = backup.findChild<QLabel*>(QStringLiteral("Label1"));
    QCOMPARE(title->text(), QStringLiteral("Tomarium"));
    QCOMPARE(title->font().pointSizeF(), 72.0);
    QVERIFY(title->font().bold() && title->font().italic());
    QCOMPARE(backup.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Backup Location:"));
    QCOMPARE(backup.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
             QStringLiteral("File will be saved as: Shelvo.bak"));
    QCOMPARE(backup.findChild<QWidget*>(QStringLiteral("Frame1"))->property("title").toString(),
             QStringLiteral("Files In Specified Location"));
    QCOMPARE(backup.findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
             QStringLiteral("Start Backup"));
    QCOMPARE(backup.palette().color(QPalette::Window), QColor(192, 192, 255));

    frmRestoreShelvio restore(editor.host);
    QCOMPARE(restore.windowTitle(), QStringLiteral("Tomarium Restore Data"));
    const auto* prompt = restore.findChild<QLabel*>(QStringLiteral("Label1"));
    QCOMPARE(prompt->text(), QStringLiteral("Select Location of Current Backup"));
    QCOMPARE(prompt->font().pointSizeF(), 9.75);
    QVERIFY(prompt->font().bold());
    QCOMPARE(restore.findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
             QStringLiteral("Restore Data"));
    for (QWidget* window : {static_cast<QWidget*>(&backup), static_cast<QWidget*>(&restore)}) {
        // Announced to screen readers as a window named by its caption, not
        // as a plain panel.
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(window);
        QCOMPARE(announced->role(), QAccessible::Window);
        QCOMPARE(announced->text(QAccessible::Name), window->windowTitle());
        for (const char* name : {"Drive1", "Dir1", "File1"}) {
            QVERIFY2(!window->findChild<QWidget*>(QString::fromLatin1(name))->accessibleName().isEmpty(),
                     name);
        }
    }
}

void TestBackupRestore::pickersStartAtTheCurrentFolder()
{
    Editor editor;
    testing::writeFile(m_start->filePath(QStringLiteral("notes.txt")), "x");
    testing::writeFile(m_start->filePath(QStringLiteral("Shelvo.bak")), "x");
    QVERIFY(QDir(m_start->path()).mkdir(QStringLiteral("sub")));
    frmBackupShelvio window(editor.host);
    window.show();
    QCOMPARE(window.pickers().chosenFolder(), m_start->path());
    // The backup window lists every file, and no folders.
    QTRY_COMPARE(listedFiles(&window), (QStringList{"Shelvo.bak", "notes.txt"}));
    const auto* drives = window.findChild<QComboBox*>(QStringLiteral("Drive1"));
    QVERIFY(m_start->path().startsWith(drives->currentData().toString()));
}

void TestBackupRestore::onlyAnOpenedFolderIsChosen()
{
    Editor editor;
    const QString withBackup = m_start->filePath(QStringLiteral("with backup"));
    QVERIFY(QDir().mkpath(withBackup));
    QVERIFY(QFile::copy(editor.file.path(), backupFilePath(withBackup)));
    frmRestoreShelvio window(editor.host);
    window.show();

    // Highlighted only: the chosen folder is still the start folder, which
    // holds no backup.
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("Dir1"));
    tree->setCurrentIndex(window.pickers().folderIndex(withBackup));
    QCOMPARE(window.pickers().chosenFolder(), m_start->path());
    editor.prompter.queueAnswer(Prompter::Answer::Ok);
    press(&window);
    QCOMPARE(editor.prompter.last().title, QStringLiteral("Invalid Backup Location"));

    // Opened with Enter: now it is chosen.
    openFolder(&window, withBackup);
    QCOMPARE(window.pickers().chosenFolder(), withBackup);
    editor.prompter.queueAnswer(Prompter::Answer::No);
    press(&window);
    QCOMPARE(editor.prompter.last().title, QStringLiteral("Verify Restore"));
}

void TestBackupRestore::restoreListsOnlyTheBackupFile()
{
    Editor editor;
    for (const char* name : {"Shelvo.bak", "shelvo.bak", "SHELVO.BAK", "Shelvo.bak.old", "notes.txt"})
        testing::writeFile(m_start->filePath(QString::fromLatin1(name)), "x");
    frmRestoreShelvio window(editor.host);
    window.show();
    QTRY_COMPARE(listedFiles(&window), QStringList{"Shelvo.bak"});

    // Another folder with only a wrongly cased name: nothing is listed, and
    // the restore looks at the disk, not at the list, to say so.
    const QString other = m_start->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    testing::writeFile(other + QStringLiteral("/shelvo.bak"), "x");
    openFolder(&window, other);
    editor.prompter.queueAnswer(Prompter::Answer::Ok);
    press(&window);
    QCOMPARE(editor.prompter.last().text, missingBackupText);
    QCOMPARE(listedFiles(&window), QStringList());
}

void TestBackupRestore::refusesAFolderThatCannotBeRead()
{
    Editor editor;
    const QString gone = m_start->filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(gone));
    frmBackupShelvio window(editor.host);
    window.show();
    // The folder goes away after the picker has shown it.
    window.pickers().folderIndex(gone);
    QVERIFY(QDir(gone).removeRecursively());
    QVERIFY(!window.pickers().openFolder(gone));
    QCOMPARE(editor.prompter.prompts().size(), 1);
    QVERIFY2(editor.prompter.last().text.contains(gone), qPrintable(editor.prompter.last().text));
    QCOMPARE(editor.prompter.last().title, QStringLiteral("Tomarium Backup"));
    QCOMPARE(window.pickers().chosenFolder(), m_start->path());
}

void TestBackupRestore::drivesHoldUserFilesOnly_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("offered");
    QTest::newRow("root") << "/" << QByteArray("ext4") << true;
    QTest::newRow("usb stick") << "/media/reader/STICK" << QByteArray("vfat") << true;
    QTest::newRow("data disk") << "/mnt/data" << QByteArray("btrfs") << true;
    QTest::newRow("network share") << "/srv/books" << QByteArray("nfs4") << true;
    QTest::newRow("proc") << "/proc" << QByteArray("proc") << false;
    QTest::newRow("sysfs") << "/sys" << QByteArray("sysfs") << false;
    QTest::newRow("cgroup below sys") << "/sys/fs/cgroup" << QByteArray("cgroup2") << false;
    QTest::newRow("devices") << "/dev" << QByteArray("devtmpfs") << false;
    QTest::newRow("run, any type") << "/run/media/x" << QByteArray("ext4") << false;
    QTest::newRow("temporary") << "/tmp" << QByteArray("tmpfs") << false;
    QTest::newRow("package image") << "/snap/core/1" << QByteArray("squashfs") << false;
    QTest::newRow("not under /run") << "/runner" << QByteArray("ext4") << true;
}

void TestBackupRestore::drivesHoldUserFilesOnly()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, type);
    QFETCH(bool, offered);
    QCOMPARE(holdsUserFiles(root, type), offered);

    const QList<Drive> drives = userDrives();
    QCOMPARE(drives.value(0).rootPath, QStringLiteral("/"));
    QCOMPARE(drives.at(driveOf(drives, QDir::homePath() + QStringLiteral("/x"))).rootPath, QDir::homePath());
}

void TestBackupRestore::backupIsTheCatalogueAsLastSaved()
{
    testing::EditorHarness editor;
    TestCatalogue& file = editor.file();
    ScriptedPrompter& prompter = editor.prompter();
    file.addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    QVERIFY(editor.start());
    // Typed but not saved: not part of the backup.
    editor.type("txtTitle", QStringLiteral("Unsaved"));
    QVERIFY(editor.window().changesMade());

    auto* window = openWindowOf<frmBackupShelvio>(&editor.window(), "mnuBackup");
    QVERIFY(window);
    QPointer<frmBackupShelvio> guard(window);
    press(window);
    const QString backup = backupFilePath(m_start->path());
    QCOMPARE(prompter.last().text, QStringLiteral("Backup of Shelvio was successful."));
    QCOMPARE(prompter.last().title, QStringLiteral("Shelvio Backup"));
    QCOMPARE(prompter.last().kind, Prompt::Inform);
    QCOMPARE(testing::fileBytes(backup), file.bytes());
    QCOMPARE(sortTitles(backup), QStringList{"Dune"});
    QTRY_VERIFY(guard.isNull());

    // A second backup into the same folder replaces the first, unasked.
    file.addBook(QStringLiteral("Emma"), QStringLiteral("Austen"), QStringLiteral("Jane"));
    window = openWindowOf<frmBackupShelvio>(&editor.window(), "mnuBackup");
    press(window);
    QCOMPARE(testing::fileBytes(backup), file.bytes());
    QCOMPARE(sortTitles(backup), (QStringList{"Dune", "Emma"}));
    QCOMPARE(prompter.unansweredQuestions(), 0);
}

void TestBackupRestore::backupToAFolderThatTakesNoFiles()
{
    // Tests run as root, which permission bits do not stop; the kernel's
    // own file system takes no new files from anyone.
    Editor editor;
    frmBackupShelvio window(editor.host);
    window.show();
    QVERIFY(window.pickers().openFolder(QStringLiteral("/proc")));
    press(&window);
    QCOMPARE(editor.prompter.prompts().size(), 1);
    const Prompt message = editor.prompter.last();
    QCOMPARE(message.title, QStringLiteral("Shelvio Backup"));
    QVERIFY2(message.text.contains(QStringLiteral("/proc/Shelvo.bak")) &&
                 message.text.contains(QStringLiteral("not made")),
             qPrintable(message.text));
    QVERIFY(window.isVisible());
}

void TestBackupRestore::backupOnAFullDiskKeepsThePreviousBackup()
{
    Editor editor;
    editor.file.addManyBooks(40, [](int i) { return testing::book(QStringLiteral("Book %1").arg(i)); });
    const QString backup = backupFilePath(m_start->path());
    testing::writeFile(backup, "the previous backup");
    frmBackupShelvio window(editor.host);
    window.show();
    {
        testing::FileSizeLimit limit(8 * 1024);
        press(&window);
    }
    QVERIFY2(editor.prompter.last().text.contains(backup), qPrintable(editor.prompter.last().text));
    QVERIFY(!editor.prompter.last().text.contains(QStringLiteral("successful")));
    QCOMPARE(testing::fileBytes(backup), QByteArray("the previous backup"));
    QCOMPARE(QDir(m_start->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Shelvo.bak"});
    QVERIFY(window.isVisible());
}

void TestBackupRestore::restoreAnswersThatChangeNothing_data()
{
    QTest::addColumn<bool>("backupInFolder");
    QTest::addColumn<Prompter::Answer>("answer");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("no backup, OK") << false << Prompter::Answer::Ok << true;
    QTest::newRow("no backup, Cancel") << false << Prompter::Answer::Cancel << false;
    QTest::newRow("restore? No") << true << Prompter::Answer::No << true;
    QTest::newRow("restore? Cancel") << true << Prompter::Answer::Cancel << false;
}

void TestBackupRestore::restoreAnswersThatChangeNothing()
{
    QFETCH(bool, backupInFolder);
    QFETCH(Prompter::Answer, answer);
    QFETCH(bool, staysOpen);
    Editor editor;
    editor.file.addBook(QStringLiteral("Kept"));
    TestCatalogue other;
    other.addBook(QStringLiteral("Other"));
    if (backupInFolder)
        QVERIFY(QFile::copy(other.path(), backupFilePath(m_start->path())));
    const QByteArray before = editor.file.bytes();
    frmRestoreShelvio window(editor.host);
    window.show();
    editor.prompter.queueAnswer(answer);
    press(&window);

    QCOMPARE(editor.prompter.prompts().size(), 1);
    const Prompt question = editor.prompter.last();
    if (backupInFolder) {
        QCOMPARE(question.text, verifyText);
        QCOMPARE(question.title, QStringLiteral("Verify Restore"));
        QCOMPARE(question.buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(question.defaultButton, Prompter::Answer::Yes);
    } else {
        QCOMPARE(question.text, missingBackupText);
        QCOMPARE(question.title, QStringLiteral("Invalid Backup Location"));
        QCOMPARE(question.buttons, Prompter::Buttons::OkCancel);
        QCOMPARE(question.defaultButton, Prompter::Answer::Ok);
    }
    QCOMPARE(window.isVisible(), staysOpen);
    QCOMPARE(editor.file.bytes(), before);
    QCOMPARE(editor.catalogue.bookCount().value_or(-1), 1);
    QCOMPARE(editor.ended, 0);
}

void TestBackupRestore::restoreRefusesWhatIsNotACatalogue()
{
    // A Jet file of other tables; every other kind of file is in tst_damagedfiles.
    Editor editor;
    editor.file.addBook(QStringLiteral("Kept"));
    const QString backup = backupFilePath(m_start->path());
    QVERIFY(QFile::copy(testing::fixturesFolder() + QStringLiteral("/legacy/NotACatalogue.mdb"), backup));
    const QByteArray before = editor.file.bytes();
    frmRestoreShelvio window(editor.host);
    window.show();
    editor.prompter.queueAnswer(Prompter::Answer::Yes);
    press(&window);

    const Prompt message = editor.prompter.last();
    QCOMPARE(message.kind, Prompt::Inform);
    QCOMPARE(message.title, QStringLiteral("Shelvio Restore"));
    QVERIFY2(message.text.contains(backup) && message.text.contains(QStringLiteral("left as it was")),
             qPrintable(message.text));
    QCOMPARE(editor.file.bytes(), before);
    // The editor goes on with its catalogue.
    QCOMPARE(editor.catalogue.bookCount().value_or(-1), 1);
    QCOMPARE(editor.ended, 0);
    QVERIFY(window.isVisible());
}

void TestBackupRestore::restoreReplacesTheCatalogueAndEndsTheEditor()
{
    TestCatalogue saved;
    saved.addBook(QStringLiteral("The Hobbit"), QStringLiteral("Tolkien"), QStringLiteral("J. R. R."));
    saved.addBook(QStringLiteral("Dune"), QStringLiteral("Herbert"), QStringLiteral("Frank"));
    QVERIFY(QFile::copy(saved.path(), backupFilePath(m_start->path())));
    testing::EditorHarness editor;
    ScriptedPrompter& prompter = editor.prompter();
    editor.file().addBook(QStringLiteral("Replaced"));
    QVERIFY(editor.start());
    QSignalSpy ending(&editor.window(), &frmBookList::endProgram);
    // Unsaved typing does not hold the restore up with a question.
    editor.type("txtTitle", QStringLiteral("Unsaved"));
    QVERIFY(editor.window().changesMade());

    auto* window = openWindowOf<frmRestoreShelvio>(&editor.window(), "mnuRestore");
    QVERIFY(window);
    prompter.queueAnswer(Prompter::Answer::Yes);
    press(window);

    QCOMPARE(prompter.prompts().size(), 2);
    QCOMPARE(prompter.prompts().first().title, QStringLiteral("Verify Restore"));
    QCOMPARE(prompter.last().kind, Prompt::Inform);
    QCOMPARE(prompter.last().text, restoredText);
    QCOMPARE(prompter.last().title, QStringLiteral("Shelvio Restore"));
    QCOMPARE(ending.count(), 1);
    const QString path = editor.file().path();
    QCOMPARE(testing::fileBytes(path), saved.bytes());
    // The next start opens the restored catalogue.
    ScriptedPrompter nextPrompter;
    frmBookList next(locateCatalogue(editor.file().folder()), editor.file().folder(), nextPrompter);
    QVERIFY(next.load());
    QCOMPARE(next.catalogue().bookCount().value_or(-1), 2);
    QCOMPARE(sortTitles(path), (QStringList{"Dune", "Hobbit, The "}));
}

void TestBackupRestore::restoreConvertsAnOldJetBackup()
{
    const QString backup = backupFilePath(m_start->path());
    testing::copyFixture(QStringLiteral("legacy/Shelvio-legacy.mdb"), backup);
    const QByteArray oldBackup = testing::fileBytes(backup);
    testing::EditorHarness editor;
    editor.file().addBook(QStringLiteral("Replaced"));
    QVERIFY(editor.start());
    QSignalSpy ending(&editor.window(), &frmBookList::endProgram);

    auto* window = openWindowOf<frmRestoreShelvio>(&editor.window(), "mnuRestore");
    QVERIFY(window);
    editor.prompter().queueAnswer(Prompter::Answer::Yes);
    press(window);

    QCOMPARE(editor.prompter().last().text, restoredText);
    QCOMPARE(ending.count(), 1);
    QCOMPARE(testing::fileBytes(backup), oldBackup);
    QCOMPARE(QDir(editor.file().folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"Shelvio.mdb"});
    // The next start opens the converted catalogue without a question.
    ScriptedPrompter nextPrompter;
    frmBookList next(locateCatalogue(editor.file().folder()), editor.file().folder(), nextPrompter);
    QVERIFY(next.load());
    QCOMPARE(nextPrompter.prompts().size(), 0);
    QCOMPARE(next.catalogue().bookCount().value_or(-1), 40);
    const QStringList titles = sortTitles(editor.file().path());
    QVERIFY(titles.contains(QStringLiteral("Преступление и наказание")));
}

void TestBackupRestore::failedReplacementOpensTheOldCatalogueAgain()
{
    Editor editor;
    editor.file.addBook(QStringLiteral("Kept"));
    TestCatalogue other;
    other.addBook(QStringLiteral("Other"));
    QVERIFY(QFile::copy(other.path(), backupFilePath(m_start->path())));
    const QByteArray before = editor.file.bytes();
    // A change by another program that has not finished: the file must not
    // be swapped under it.
    // Another program holds the write lock for longer than the wait, and
    // lets go in time for the old catalogue to be opened again.
    QProcess writer;
    writer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/catalogue_worker"),
                 {QStringLiteral("hold-lock"), editor.file.path(), QStringLiteral("7000")});
    QVERIFY(writer.waitForReadyRead(20000));
    frmRestoreShelvio window(editor.host);
    window.show();
    editor.prompter.queueAnswer(Prompter::Answer::Yes);
    press(&window);
    QVERIFY(writer.waitForFinished(20000));
    QVERIFY(window.isVisible());
    QVERIFY2(editor.prompter.last().text.contains(QStringLiteral("open again")),
             qPrintable(editor.prompter.last().text));
    QCOMPARE(editor.file.bytes(), before);
    QVERIFY(editor.catalogue.isOpen());
    QCOMPARE(editor.catalogue.bookCount().value_or(-1), 1);
    QCOMPARE(editor.ended, 0);
}

void TestBackupRestore::realMessageBoxAsksAboutAMissingBackup()
{
    Editor editor;
    DialogPrompter dialogs;
    CatalogueHost host(editor.catalogue, dialogs, [] {});
    frmRestoreShelvio window(host);
    window.show();
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool okIsDefault = false;
    QTimer::singleShot(0, &window, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
    });
    press(&window);
    QCOMPARE(title, QStringLiteral("Invalid Backup Location"));
    QCOMPARE(text, missingBackupText);
    QCOMPARE(buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QVERIFY(okIsDefault);
    // Cancel closed the window.
    QVERIFY(!window.isVisible());
}

void TestBackupRestore::oneWindowOfEachOutlivesTheMainWindow()
{
    testing::EditorHarness editor;
    QVERIFY(editor.start());
    frmBookList* main = &editor.window();
    auto* backup = openWindowOf<frmBackupShelvio>(main, "mnuBackup");
    QVERIFY(backup);
    QCOMPARE(openWindowOf<frmBackupShelvio>(main, "mnuBackup"), backup);
    auto* restore = openWindowOf<frmRestoreShelvio>(main, "mnuRestore");
    QVERIFY(restore);
    QVERIFY(!backup->parentWidget() && !restore->parentWidget());

    // The main window closes; the program goes on while a window is open
    // and ends with the last one.
    bool allClosed = false;
    bool endedTooEarly = false;
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [&] { endedTooEarly = !allClosed; });
    QTimer::singleShot(0, main, [&] {
        main->close();
        QVERIFY(backup->isVisible() && restore->isVisible());
        backup->close();
        QTimer::singleShot(0, restore, [&] {
            allClosed = true;
            restore->close();
        });
    });
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!endedTooEarly);
}

QTEST_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
