#include "cataloguefiles.h"

#include "catalogue.h"
#include "cataloguelocation.h"
#include "connection.h"
#include "fileformat.h"
#include "legacyconversion.h"
#include "statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

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

bool failed(QString* error, const QString& message)
{
    *error = message;
    return false;
}

// A write that stops short (a disk filling up) says why only when it is
// tried again for the rest.
bool writeAll(QIODevice& target, const char* data, qint64 size)
{
    while (size > 0) {
        const qint64 written = target.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Writes every byte of `source` into `target`, which is left open and
// flushed but not committed. On failure nothing of the target is kept.
bool writeCopy(const QString& source, QSaveFile& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failed(error, cannotRead(source, in.errorString()));
    if (!target.open(QIODevice::WriteOnly))
        return failed(error, cannotWrite(target.fileName(), target.errorString()));
    QByteArray buffer(copyChunkBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0) {
            target.cancelWriting();
            return failed(error, cannotRead(source, in.errorString()));
        }
        if (read == 0)
            break;
        if (!writeAll(target, buffer.constData(), read)) {
            const QString cause = target.errorString();
            target.cancelWriting();
            return failed(error, cannotWrite(target.fileName(), cause));
        }
    }
    // Flushing here makes a full disk show up now rather than at commit().
    if (!target.flush()) {
        const QString cause = target.errorString();
        target.cancelWriting();
        return failed(error, cannotWrite(target.fileName(), cause));
    }
    return true;
}

// The first fault SQLite's quick check finds, or nothing when the file is
// whole.
bool passesQuickCheck(const QString& path, QString* problem)
{
    QSqlDatabase db = openConnection(path, Access::ReadOnly, problem);
    if (!db.isOpen())
        return false;
    bool ok = false;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QString::fromLatin1(sql::quickCheck)) || !query.next())
            *problem = query.lastError().text();
        else if (query.value(0).toString() != "ok"_L1)
            *problem = query.value(0).toString();
        else
            ok = true;
    }
    closeConnection(db);
    return ok;
}

// Turns a backup in the older Jet format into a catalogue in the folder,
// which takes the converted file with it when it goes.
bool convertOldBackup(const QString& backupPath, const QTemporaryDir& folder, QString* converted,
                      QString* error)
{
    if (!folder.isValid())
        return failed(error, cannotWrite(folder.path(), folder.errorString()));
    *converted = folder.filePath(catalogueFileName());
    const LegacyConversion result = convertJetCatalogue(backupPath, *converted);
    if (result.ok)
        return true;
    return failed(error, u"%1 is in the older Jet database format and could not be converted. %2"_s.arg(
                             nativePath(backupPath), result.error));
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

bool copyFileAtomically(const QString& source, const QString& target, QString* error)
{
    QSaveFile out(target);
    if (!writeCopy(source, out, error))
        return false;
    if (!out.commit())
        return failed(error, cannotWrite(target, out.errorString()));
    return true;
}

bool checkCatalogueFile(const QString& path, QString* problem)
{
    const QString name = nativePath(path);
    switch (detectFileKind(path)) {
    case FileKind::Missing:
        return failed(problem, u"%1 does not exist."_s.arg(name));
    case FileKind::Unreadable:
        return failed(problem, u"%1 cannot be read."_s.arg(name));
    case FileKind::Empty:
        return failed(problem, u"%1 is empty: it holds no catalogue."_s.arg(name));
    case FileKind::Jet:
        return failed(problem, u"%1 is in the older Jet database format."_s.arg(name));
    case FileKind::Other:
        return failed(problem, u"%1 is not a catalogue file: it is not an SQLite database."_s.arg(name));
    case FileKind::SQLite:
        break;
    }
    QString why;
    if (!Catalogue::isCatalogueFile(path, &why))
        return failed(problem, u"%1 is not a catalogue file. %2"_s.arg(name, why));
    if (!passesQuickCheck(path, &why))
        return failed(problem, u"%1 is damaged: %2"_s.arg(name, why));
    return true;
}

CatalogueReplacement::CatalogueReplacement(const QString& backupPath, const QString& cataloguePath)
    : m_backupPath(backupPath)
    , m_cataloguePath(cataloguePath)
{
}

// An uncommitted QSaveFile removes its temporary file.
CatalogueReplacement::~CatalogueReplacement() = default;

bool CatalogueReplacement::fail(const QString& message)
{
    m_error = message;
    m_staged.reset();
    return false;
}

bool CatalogueReplacement::prepare()
{
    m_staged.reset();
    m_error.clear();
    // Every test a backup must pass before it may take the catalogue's place
    // is made here, and a backup in the older Jet format is turned into a
    // catalogue here, before the staged copy is written.
    QString problem;
    QString source = m_backupPath;
    std::unique_ptr<QTemporaryDir> conversion;
    if (detectFileKind(m_backupPath) == FileKind::Jet) {
        conversion = std::make_unique<QTemporaryDir>(QFileInfo(m_cataloguePath).absolutePath() +
                                                     u"/.Shelvio-restore-XXXXXX"_s);
        if (!convertOldBackup(m_backupPath, *conversion, &source, &problem))
            return fail(problem);
    }
    if (!checkCatalogueFile(source, &problem))
        return fail(problem);
    auto staged = std::make_unique<QSaveFile>(m_cataloguePath);
    if (!writeCopy(source, *staged, &problem))
        return fail(problem);
    m_staged = std::move(staged);
    return true;
}

bool CatalogueReplacement::commit()
{
    if (!m_staged)
        return fail(
            u"No checked copy of the backup is ready to replace %1."_s.arg(nativePath(m_cataloguePath)));
    // A journal beside the catalogue means another program is part-way
    // through a change; SQLite would play that journal back into the new
    // file and damage it.
    if (QFileInfo(m_cataloguePath + u"-journal"_s).size() > 0) {
        return fail(u"%1 is being changed by another program (its journal file is there)."_s.arg(
            nativePath(m_cataloguePath)));
    }
    if (!m_staged->commit())
        return fail(cannotWrite(m_cataloguePath, m_staged->errorString()));
    m_staged.reset();
    return true;
}

} // namespace shelvio
