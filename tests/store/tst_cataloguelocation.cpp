#include "cataloguelocation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using Place = CatalogueLocation::Place;

namespace {

bool writable(const QString&)
{
    return true;
}

bool readOnly(const QString&)
{
    return false;
}

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QString userCatalogue()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tomarium/Shelvio.mdb");
}

} // namespace

class TestCatalogueLocation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rule_data();
    void rule();
    void aFolderTheUserCannotWrite();
};

void TestCatalogueLocation::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestCatalogueLocation::rule_data()
{
    QTest::addColumn<bool>("catalogueBeside");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("path"); // "@" stands for the program folder, "~" for the working folder

    QTest::newRow("portable, first start") << false << true << "" << Place::ProgramFolder << "@/Shelvio.mdb";
    QTest::newRow("portable") << true << true << "" << Place::ProgramFolder << "@/Shelvio.mdb";
    QTest::newRow("read-only folder that holds one")
        << true << false << "" << Place::ProgramFolder << "@/Shelvio.mdb";
    QTest::newRow("installed") << false << false << "" << Place::UserData << userCatalogue();
    QTest::newRow("chosen, relative")
        << true << true << "sub/Books.mdb" << Place::Chosen << "~/sub/Books.mdb";
    QTest::newRow("chosen over the user's one")
        << false << false << "../Other.mdb" << Place::Chosen << "~/../Other.mdb";
}

void TestCatalogueLocation::rule()
{
    QFETCH(bool, catalogueBeside);
    QFETCH(bool, folderWritable);
    QFETCH(QString, chosen);
    QFETCH(Place, place);
    QFETCH(QString, path);
    QTemporaryDir programFolder;
    QTemporaryDir workingFolder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workingFolder.path()));
    if (catalogueBeside)
        touch(programFolder.filePath(QStringLiteral("Shelvio.mdb")));

    const CatalogueLocation location =
        locateCatalogue(programFolder.path(), chosen, folderWritable ? writable : readOnly);
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(location.place, place);
    path.replace(QLatin1Char('@'), programFolder.path()).replace(QLatin1Char('~'), workingFolder.path());
    QCOMPARE(location.path, QDir::cleanPath(path));
    QCOMPARE(location.folder(), QFileInfo(location.path).absolutePath());
    // Finding the place creates nothing.
    QCOMPARE(QDir(programFolder.path()).entryList(QDir::Files).size(), catalogueBeside ? 1 : 0);
}

void TestCatalogueLocation::aFolderTheUserCannotWrite()
{
    QTemporaryDir folder;
    QVERIFY(folderIsWritable(folder.path()));
    QCOMPARE(locateCatalogue(folder.path()).place, Place::ProgramFolder);

    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                             QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const bool privileged = QFile(folder.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    if (!privileged) {
        QVERIFY(!folderIsWritable(folder.path()));
        QCOMPARE(locateCatalogue(folder.path()).place, Place::UserData);
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (privileged)
        QSKIP("This user can write to any folder; the rule itself is covered by rule().");
}

QTEST_MAIN(TestCatalogueLocation)
#include "tst_cataloguelocation.moc"
