#pragma once

#include <QString>

// Bringing a catalogue written by the older program, in the Jet (Access)
// format, over into the catalogue file of today. The Jet file itself is only
// ever read.
namespace shelvio {

struct LegacyConversion {
    bool ok = false;
    QString error; // what went wrong, for the user
    qint64 books = 0, categories = 0, links = 0, orphanLinks = 0;
    QString keptOriginalPath; // migrateJetCatalogue: where the original now lies
};

// Whether the Jet file holds the older program's catalogue tables with the
// columns a conversion reads. Reads only; on failure *problem says why.
bool isJetCatalogue(const QString& jetPath, QString* problem);

// Writes a new catalogue at targetPath (which must not exist) from the Jet
// file at jetPath, then checks every table's row count and every value
// against the source. On failure targetPath is removed and jetPath is
// untouched.
LegacyConversion convertJetCatalogue(const QString& jetPath, const QString& targetPath);

// Editor start-up: converts the Jet catalogue at catalogPath beside it, keeps
// the original under a clear name next to it (never deleted), and puts the
// new catalogue in its place.
LegacyConversion migrateJetCatalogue(const QString& catalogPath);

} // namespace shelvio
