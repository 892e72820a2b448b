#include "cataloguefiles.h"

#include "atomicfile.h"
#include "catalogue.h"
#include "cataloguelocation.h"
#include "connection.h"
#include "fileformat.h"
#include "legacyconversion.h"
#include "schema.h"
#include "statement.h"
#include "statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

constexpr qint64 copyChunkBytes = 1 << 20;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString cannotRead(const QString& path, const QString& cause)
{
    return u"%1 cannot be read: %2."_s.arg(nativePath(path), cause);
}

QString cannotWrite(const QString& path, const QString& cause)
{
    return u"%1 cannot be written: %2."_s.arg(nativePath(path), cause);
}

// The permission bits of a file, for a copy that is to keep them; the
// user's normal ones when the file is not there.
mode_t permissionsOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0666;
    return info.st_mode & 07777;
}

// Writes every byte of `source` into `target`, opened here with the given
// permissions and left uncommitted. On failure nothing of the target is kept.
Status writeCopy(const QString& source, AtomicFile& target, mode_t permissions)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Error::failed(cannotRead(source, in.errorString()));
    if (Status opened = target.open(permissions); !opened)
        return opened;
    QByteArray buffer(copyChunkBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0)
            return Error::failed(cannotRead(source, in.errorString()));
        if (read == 0)
            return {};
        if (Status written = target.write(buffer.constData(), read); !written)
            return written;
    }
}

// SQLite's quick check: the first fault it finds, or success when the file
// is whole.
Status passesQuickCheck(const QString& path)
{
    QSqlDatabase db;
    if (Result<QSqlDatabase> opened = openConnection(path, Access::ReadOnly); opened)
        db = *opened;
    else
        return opened.error();
    Status whole;
    {
        Statement check(db, sql::quickCheck);
        const Result<QVariant> answer = check.single();
        if (!answer)
            whole = answer.error();
        else if (answer->toString() != "ok"_L1)
            whole = Error::failed(answer->toString());
    }
    closeConnection(db);
    return whole;
}

// Whether a rollback journal beside the file has been begun: SQLite writes
// its header only once the journal holds the pages a change will overwrite.
// A journal never begun (a program killed before that) is harmless.
bool journalBegun(const QString& cataloguePath)
{
    QFile journal(cataloguePath + u"-journal"_s);
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = journal.read(8);
    return header.size() == 8 && header != QByteArray(8, '\0');
}

// Makes sure no begun journal lies beside the catalogue before another file
// takes its name: SQLite would play it back into the new file and damage it.
// Taking the write lock once waits out a program part-way through a change
// and plays back the journal of one that was killed in the middle of one.
Status settleJournal(const QString& cataloguePath)
{
    const auto busy = [&](const QString& cause) {
        return Error::failed(
            u"%1 is being changed by another program (%2)."_s.arg(nativePath(cataloguePath), cause));
    };
    if (QFileInfo::exists(cataloguePath)) {
        Result<QSqlDatabase> opened = openConnection(cataloguePath, Access::ReadWrite);
        if (!opened)
            return busy(opened.error().text());
        QSqlDatabase db = opened.take();
        Status locked = WriteTransaction(db, WriteTransaction::Lock::Immediate).begun();
        closeConnection(db);
        if (!locked)
            return busy(locked.error().text());
    }
    if (journalBegun(cataloguePath))
        return busy(u"its journal file is there"_s);
    return {};
}

// Turns a backup in the older Jet format into a catalogue in the folder,
// which takes the converted file with it when it goes.
Result<QString> convertOldBackup(const QString& backupPath, const QTemporaryDir& folder)
{
    if (!folder.isValid())
        return Error::failed(cannotWrite(folder.path(), folder.errorString()));
    const QString converted = folder.filePath(catalogueFileName());
    const Result<LegacyConversion> result = convertJetCatalogue(backupPath, converted);
    if (result)
        return converted;
    return Error::failed(u"%1 is in the older Jet database format and could not be converted. %2"_s.arg(
        nativePath(backupPath), result.error().text()));
}

} // namespace

QString backupFileName()
{
    return u"Shelvo.bak"_s;
}

QString backupFilePath(const QString& folder)
{
    return QDir(folder).filePath(backupFileName());
}

bool folderHoldsBackup(const QString& folder)
{
    // Listing the folder rather than asking for the path: on a file system
    // that ignores letter case the path would also find "SHELVO.BAK".
    const QStringList names =
        QDir(folder).entryList({backupFileName()}, QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    return names.contains(backupFileName());
}

Status copyFileAtomically(const QString& source, const QString& target)
{
    AtomicFile out(target);
    if (Status copied = writeCopy(source, out, permissionsOf(source)); !copied)
        return copied;
    return out.commit();
}

Status checkCatalogueFile(const QString& path)
{
    const QString name = nativePath(path);
    if (const auto problem = fileKindProblem(detectFileKind(path)))
        return Error::failed(u"%1 is not a catalogue file. %2"_s.arg(name, *problem));
    if (Status tables = schema::verifyFile(path); !tables)
        return Error::failed(u"%1 is not a catalogue file. %2"_s.arg(name, tables.error().text()));
    if (Status whole = passesQuickCheck(path); !whole)
        return Error::failed(u"%1 is damaged: %2"_s.arg(name, whole.error().text()));
    return {};
}

CatalogueReplacement::CatalogueReplacement(const QString& backupPath, const QString& cataloguePath)
    : m_backupPath(backupPath)
    , m_cataloguePath(cataloguePath)
{
}

// An uncommitted staged file goes with it.
CatalogueReplacement::~CatalogueReplacement() = default;

Status CatalogueReplacement::fail(const QString& message)
{
    m_staged.reset();
    return Error::failed(message);
}

Status CatalogueReplacement::prepare()
{
    m_staged.reset();
    // Every test a backup must pass before it may take the catalogue's place
    // is made here, and a backup in the older Jet format is turned into a
    // catalogue here, before the staged copy is written.
    QString source = m_backupPath;
    std::unique_ptr<QTemporaryDir> conversion;
    if (detectFileKind(m_backupPath) == FileKind::Jet) {
        conversion = std::make_unique<QTemporaryDir>(QFileInfo(m_cataloguePath).absolutePath() +
                                                     u"/.Shelvio-restore-XXXXXX"_s);
        const Result<QString> converted = convertOldBackup(m_backupPath, *conversion);
        if (!converted)
            return fail(converted.error().text());
        source = *converted;
    }
    if (Status checked = checkCatalogueFile(source); !checked)
        return fail(checked.error().text());
    // The restored catalogue keeps the permissions the catalogue had.
    auto staged = std::make_unique<AtomicFile>(m_cataloguePath);
    if (Status copied = writeCopy(source, *staged, permissionsOf(m_cataloguePath)); !copied)
        return fail(copied.error().text());
    m_staged = std::move(staged);
    return {};
}

Status CatalogueReplacement::commit()
{
    if (!m_staged)
        return fail(
            u"No checked copy of the backup is ready to replace %1."_s.arg(nativePath(m_cataloguePath)));
    if (Status settled = settleJournal(m_cataloguePath); !settled)
        return fail(settled.error().text());
    if (Status committed = m_staged->commit(); !committed)
        return fail(committed.error().text());
    m_staged.reset();
    return {};
}

} // namespace shelvio
