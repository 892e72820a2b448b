#include "damagedfiles.h"

#include "testcatalogue.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace testing {

namespace {

void setMode(const QString& path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

void nothing(const QString&) {}

void zeroBytes(const QString& path)
{
    writeFile(path, {});
}

template <int Bytes> void truncatedTo(const QString& path)
{
    writeFile(path, wholeCatalogueBytes().left(Bytes));
}

void truncatedToHalf(const QString& path)
{
    const QByteArray whole = wholeCatalogueBytes();
    writeFile(path, whole.left(whole.size() / 2));
}

void randomBytes(const QString& path)
{
    QRandomGenerator random(15);
    QByteArray bytes(16 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    writeFile(path, bytes);
}

void otherProgramsDatabase(const QString& path)
{
    queryFile(path, u"CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, Item TEXT, Price REAL)"_s);
    queryFile(path, u"INSERT INTO Orders (Item, Price) VALUES ('Teapot', 12.5)"_s);
}

void wholeCatalogue(const QString& path)
{
    writeFile(path, wholeCatalogueBytes());
}

void withoutLinkTable(const QString& path)
{
    wholeCatalogue(path);
    queryFile(path, u"DROP TABLE BookCategoryLink"_s);
}

void withoutPagesColumn(const QString& path)
{
    wholeCatalogue(path);
    queryFile(path, u"ALTER TABLE Books DROP COLUMN Pages"_s);
}

// Another tool may put any text in a number column: SQLite keeps it as text.
void textInNumberColumns(const QString& path)
{
    wholeCatalogue(path);
    queryFile(path, u"UPDATE Books SET YearPublished = 'nineteen-oh-five', Pages = 'many', Cost = 'cheap', "
                    u"Rating = 'good', WantToBuy = 'yes' WHERE BookID = 1"_s);
}

void readOnlyFile(const QString& path)
{
    wholeCatalogue(path);
    setMode(path, 0444);
}

// The file itself could be written, but nothing can be made beside it.
void inReadOnlyFolder(const QString& path)
{
    wholeCatalogue(path);
    setMode(path, 0666);
    setMode(QFileInfo(path).absolutePath(), 0555);
}

void folderInItsPlace(const QString& path)
{
    QVERIFY(QDir().mkpath(path));
    writeFile(path + u"/notes.txt"_s, "not a catalogue\n");
}

} // namespace

const QList<DamagedFile>& damagedFiles()
{
    const QString malformed = u"malformed"_s;
    const QString notSqlite = u"not an SQLite"_s;
    const QString readOnly = u"can only be read"_s;
    // Each program refuses it with the same cause.
    const auto refused = [](const QString& name, void (*make)(const QString&), const QString& says) {
        return DamagedFile{name, make, says, says, says, false, false, false};
    };
    // Each program goes on with it; the editor may say something first.
    const auto usable = [](const QString& name, void (*make)(const QString&), const QString& editorSays,
                           bool permissionsMatter) {
        return DamagedFile{name, make, editorSays, {}, {}, true, permissionsMatter, false};
    };
    static const QList<DamagedFile> kinds{
        DamagedFile{u"missing"_s, nothing, u"has been created"_s, u"was not found"_s,
                    u"Shelvo.bak must exist"_s, true, false, false},
        refused(u"zero bytes"_s, zeroBytes, u"empty"_s),
        refused(u"truncated to 100 bytes"_s, truncatedTo<100>, malformed),
        refused(u"truncated to one page"_s, truncatedTo<4096>, malformed),
        refused(u"truncated to half"_s, truncatedToHalf, malformed),
        refused(u"random bytes"_s, randomBytes, notSqlite),
        refused(u"another program's database"_s, otherProgramsDatabase, u"no table Books"_s),
        refused(u"a table missing"_s, withoutLinkTable, u"no table BookCategoryLink"_s),
        refused(u"a column missing"_s, withoutPagesColumn, u"no column Books.Pages"_s),
        usable(u"text in number columns"_s, textInNumberColumns, {}, false),
        usable(u"read-only file"_s, readOnlyFile, readOnly, true),
        usable(u"read-only folder"_s, inReadOnlyFolder, readOnly, true),
        DamagedFile{u"locked by another program"_s, wholeCatalogue, u"locked"_s, u"locked"_s, u"locked"_s,
                    false, false, true},
        refused(u"a folder in its place"_s, folderInItsPlace, u"It is a folder"_s),
    };
    return kinds;
}

void addDamagedFileRows()
{
    QTest::addColumn<int>("kind");
    for (qsizetype i = 0; i < damagedFiles().size(); ++i)
        QTest::newRow(qPrintable(damagedFiles().at(i).name)) << int(i);
}

QByteArray wholeCatalogueBytes()
{
    static const QByteArray bytes = [] {
        TestCatalogue file;
        file.addCategory(u"Novels"_s);
        for (int i = 0; i < 60; ++i) {
            shelvio::Book book =
                testing::book(wholeCatalogueTitle() + u' ' + QString::number(i), u"Austen"_s, u"Jane"_s);
            book.comments = QString(300, QChar(u'a' + i % 26));
            book.categories = QStringList{u"Novels"_s};
            file.addBook(book);
        }
        return file.bytes();
    }();
    return bytes;
}

QString wholeCatalogueTitle()
{
    return u"Persuasion"_s;
}

LockHolder::LockHolder(const QString& path, int milliseconds)
{
    m_process.start(QCoreApplication::applicationDirPath() + u"/catalogue_worker"_s,
                    {u"hold-lock"_s, path, QString::number(milliseconds)});
    m_holds = m_process.waitForReadyRead(20000) && m_process.readAll().startsWith("locked");
}

LockHolder::~LockHolder()
{
    m_process.kill();
    m_process.waitForFinished();
}

PermissionBitsApply::PermissionBitsApply()
{
    if (::geteuid() == 0)
        m_previous = ::setfsuid(65534);
}

PermissionBitsApply::~PermissionBitsApply()
{
    if (m_previous >= 0)
        ::setfsuid(uid_t(m_previous));
}

void openToOthers(const QString& folder)
{
    setMode(folder, 0777);
    QDirIterator inside(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
    while (inside.hasNext())
        setMode(inside.next(), 0777);
}

QByteArray fingerprint(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return "absent";
    if (info.isDir())
        return "folder " + QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u' ').toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex() + ' ' + QByteArray::number(info.permissions().toInt());
}

} // namespace testing
