#pragma once

#include "result.h"

#include <QString>

// Bringing a catalogue written by the older program, in the Jet (Access)
// format, over into the catalogue file of today. The Jet file itself is only
// ever read.
namespace shelvio {

// What came over from the Jet file.
struct LegacyConversion {
    qint64 books = 0, categories = 0, links = 0, orphanLinks = 0;
    QString keptOriginalPath; // migrateJetCatalogue: where the original now lies
};

// Whether the Jet file holds the older program's catalogue tables with the
// columns a conversion reads. Reads only; the error says why not.
Status checkJetCatalogue(const QString& jetPath);

// Writes a new catalogue at targetPath (which must not exist) from the Jet
// file at jetPath, then checks every table's row count and every value
// against the source. On failure targetPath is removed and jetPath is
// untouched.
Result<LegacyConversion> convertJetCatalogue(const QString& jetPath, const QString& targetPath);

// Editor start-up: converts the Jet catalogue at catalogPath beside it, keeps
// the original under a clear name next to it (never deleted), and puts the
// new catalogue in its place.
Result<LegacyConversion> migrateJetCatalogue(const QString& catalogPath);

} // namespace shelvio
