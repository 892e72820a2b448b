#pragma once

#include <QString>

namespace shelvio {

// What a file on disk holds, told from its first bytes alone.
enum class FileKind {
    Missing,    // no file at the path
    Unreadable, // there, but it cannot be opened for reading
    Empty,      // zero bytes
    SQLite,     // an SQLite 3 database
    Jet,        // a Jet (Access) database written by the older program
    Other,      // anything else
};

FileKind detectFileKind(const QString& path);

} // namespace shelvio
