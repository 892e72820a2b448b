#include "reporttesting.h"
#include "testcatalogue.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testing::TestCatalogue;

namespace {

QString programPath(const QString& program)
{
    return qEnvironmentVariable("SHELVIO_PROGRAM_DIR") + u'/' + program;
}

// Starts a program as from a terminal without a display: only what the
// arguments ask for decides the platform.
void start(QProcess& process, const QString& program, const QStringList& arguments,
           const QString& workingFolder = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(programPath(program), arguments);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
}

void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished();
}

} // namespace

class TestPrograms : public QObject {
    Q_OBJECT
private slots:
    void answersWithoutAWindow_data();
    void answersWithoutAWindow();
    void windowsOpenWithQtOptions_data();
    void windowsOpenWithQtOptions();
    void reportOfAChosenCatalogue();
    void bookFilesFromTheCommandLine_data();
    void bookFilesFromTheCommandLine();
};

void TestPrograms::answersWithoutAWindow_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // a part of what the program prints
    QTest::addColumn<QString>("err");
    const QString version = QStringLiteral(TOMARIUM_PROJECT_VERSION);
    const QString offscreen = QStringLiteral("-platform offscreen ");
    const auto row = [](const char* name, const char* program, const QString& arguments, int exitCode,
                        const QString& out, const QString& err = {}) {
        QTest::newRow(name) << QString::fromLatin1(program) << arguments.split(u' ', Qt::SkipEmptyParts)
                            << exitCode << out << err;
    };
    row("editor version", "tomarium", "--version", 0, u"tomarium "_s + version + u'\n');
    row("editor -v after Qt's -platform", "tomarium", offscreen + u"-v"_s, 0, u"tomarium "_s + version);
    row("editor help", "tomarium", "-h", 0, "--catalogue FILE");
    row("editor help names export and import", "tomarium", "--help", 0, "--import FILE [--skip-duplicates]");
    row("editor export without its file", "tomarium", "--export", 2, {}, "Missing value after '--export'");
    row("editor unknown option", "tomarium", offscreen + u"--bogus"_s, 2, {}, "Unknown option 'bogus'");
    row("editor stray argument", "tomarium", offscreen + u"-style fusion stray"_s, 2, {},
        "Unknown arguments: stray");
    row("editor catalogue without its file", "tomarium", offscreen + u"--catalogue"_s, 2, {},
        "Missing value after '--catalogue'");
    row("viewer version", "shelvioreports", "--version", 0, u"shelvioreports "_s + version + u'\n');
    row("viewer help", "shelvioreports", "--help", 0, "--pdf DEFINITION FILE");
    row("viewer list after Qt's -style", "shelvioreports", "-style fusion --list", 0,
        "crBookRating\tBook Rating Report\n");
    row("viewer list before Qt's options", "shelvioreports", "--list -reverse -platform offscreen", 0,
        "crBooksByTitle\tBooks By Title\n");
    row("viewer list takes nothing more", "shelvioreports", "--list extra", 2, {},
        "Unknown arguments: extra");
    row("viewer pdf without its file", "shelvioreports", "--pdf crBookRating", 2, {},
        "--pdf takes a report definition and a file name.");
    row("viewer unknown option", "shelvioreports", offscreen + u"--bogus"_s, 2, {}, "Unknown option 'bogus'");
}

void TestPrograms::answersWithoutAWindow()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess process;
    start(process, program, arguments);
    QVERIFY(process.waitForFinished(30000));
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    const QString complaint = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == exitCode, qPrintable(complaint));
    QVERIFY2(printed.contains(out), qPrintable(printed));
    QVERIFY2(complaint.contains(err), qPrintable(complaint));
}

void TestPrograms::windowsOpenWithQtOptions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("createsCatalogue");
    QTest::newRow("editor") << "tomarium" << true;
    QTest::newRow("viewer") << "shelvioreports" << false;
}

void TestPrograms::windowsOpenWithQtOptions()
{
    QFETCH(QString, program);
    QFETCH(bool, createsCatalogue);
    QTemporaryDir folder;
    QProcess process;
    // The catalogue is named relative to the working folder.
    start(process, program,
          {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
           QStringLiteral("fusion"), QStringLiteral("--catalogue"), QStringLiteral("Books.mdb")},
          folder.path());
    if (createsCatalogue) {
        // The editor makes the catalogue and then waits on its first-start message.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("Books.mdb"))), 20000);
    }
    // A program that refused its arguments would have ended at once.
    QVERIFY2(!process.waitForFinished(1500), process.readAllStandardError().constData());
    stop(process);
    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("Books.mdb"))), createsCatalogue);
}

void TestPrograms::reportOfAChosenCatalogue()
{
    TestCatalogue file;
    file.addBook(QStringLiteral("Chosen Book"), QStringLiteral("Writer"));
    QProcess process;
    start(process, QStringLiteral("shelvioreports"),
          {QStringLiteral("--catalogue"), QStringLiteral("Shelvio.mdb"), QStringLiteral("--pdf"),
           QStringLiteral("crBooksByTitle"), QStringLiteral("titles.pdf")},
          file.folder());
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(testing::pdfText(file.folder() + QStringLiteral("/titles.pdf"))
                .contains(QStringLiteral("Chosen Book")));
}

void TestPrograms::bookFilesFromTheCommandLine_data()
{
    QTest::addColumn<QString>("arguments"); // FIXTURES stands for the folder of the sample files
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("books"); // in the catalogue afterwards
    const auto row = [](const char* name, const char* arguments, int exitCode, const char* out,
                        const char* err, int books) {
        QTest::newRow(name) << QString::fromLatin1(arguments) << exitCode << QString::fromUtf8(out)
                            << QString::fromUtf8(err) << books;
    };
    row("export", "--export out.csv", 0, "1 book written to out.csv.", "", 1);
    row("import", "--import FIXTURES/calibre-catalog.csv", 0,
        "3 books to add, and 1 book that looks like a book already on file", "", 5);
    row("import, books on file added", "--import FIXTURES/tellico-books.tc", 0,
        "3 books imported; 3 new categories created.", "", 4);
    row("import, books on file skipped", "--import FIXTURES/tellico-books.tc --skip-duplicates", 0,
        "2 books imported; 2 new categories created.", "", 3);
    row("import of a bad file", "--import FIXTURES/README.md", 1, "",
        "cannot be imported. The file is not a CSV or tab-separated table", 1);
    row("import of a missing file", "--import nowhere.csv", 1, "", "nowhere.csv cannot be read", 1);
    row("export and import together", "--export a.csv --import b.csv", 2, "",
        "--export and --import cannot be given together.", 1);
    row("skipping without importing", "--skip-duplicates", 2, "", "--skip-duplicates goes with --import.", 1);
}

void TestPrograms::bookFilesFromTheCommandLine()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, books);
    TestCatalogue file;
    file.addBook(QStringLiteral("The Hobbit"), QStringLiteral("Tolkien"), QStringLiteral("J. R. R."));
    const QString fixtures = qEnvironmentVariable("SHELVIO_FIXTURES") + QStringLiteral("/exchange");
    QProcess process;
    start(process, QStringLiteral("tomarium"),
          QStringList{QStringLiteral("--catalogue"), QStringLiteral("Shelvio.mdb")} +
              arguments.replace(QStringLiteral("FIXTURES"), fixtures).split(u' '),
          file.folder());
    QVERIFY(process.waitForFinished(30000));
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    const QString complaint = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == exitCode, qPrintable(printed + complaint));
    QVERIFY2(printed.contains(out), qPrintable(printed));
    QVERIFY2(complaint.contains(err), qPrintable(complaint));
    QCOMPARE(file.scalar(QStringLiteral("SELECT count(*) FROM Books")).toInt(), books);
    if (exitCode == 0 && arguments.startsWith(QStringLiteral("--export")))
        QVERIFY(testing::fileBytes(file.folder() + QStringLiteral("/out.csv")).contains(",1\r\n"));
}

QTEST_MAIN(TestPrograms)
#include "tst_programs.moc"
