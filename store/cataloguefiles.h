#pragma once

#include "result.h"

#include <QString>

#include <memory>

namespace shelvio {
class AtomicFile;
}

// The catalogue file as a whole: copying it to a backup and putting a backup
// back in its place. A copy never replaces its target until it is complete
// and on disk, so a failed copy leaves the old file as it was.
namespace shelvio {

// The fixed name of a backup file.
QString backupFileName();
QString backupFilePath(const QString& folder);

// Whether the folder holds a file named exactly like a backup. Letter case
// counts, also on file systems that ignore it.
bool folderHoldsBackup(const QString& folder);

// Copies `source` over `target`: the bytes go to a temporary file beside the
// target, which is flushed and renamed over the target only once the whole
// copy is written. On failure the target is untouched and the error names
// the file and the cause.
Status copyFileAtomically(const QString& source, const QString& target);

// Whether the file holds a whole catalogue: an SQLite database with the
// catalogue's tables that passes SQLite's quick integrity check. Reads only.
// The error says, for the user, what is wrong.
Status checkCatalogueFile(const QString& path);

// Puts a backup in the catalogue's place in two steps, so that the editor
// lets go of the catalogue only once the backup is known to be good:
// prepare() checks the backup (converting one in the older Jet format
// first) and writes it to a temporary file beside the catalogue; commit()
// renames that file over the catalogue. Until commit() succeeds the
// catalogue is untouched, and an abandoned replacement leaves no temporary
// file behind.
class CatalogueReplacement {
public:
    CatalogueReplacement(const QString& backupPath, const QString& cataloguePath);
    ~CatalogueReplacement();
    CatalogueReplacement(const CatalogueReplacement&) = delete;
    CatalogueReplacement& operator=(const CatalogueReplacement&) = delete;

    // Errors are in words for the user and name the file.
    Status prepare();
    Status commit();

private:
    Status fail(const QString& message);

    QString m_backupPath;
    QString m_cataloguePath;
    std::unique_ptr<AtomicFile> m_staged;
};

} // namespace shelvio
