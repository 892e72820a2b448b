#pragma once

#include <QString>

#include <optional>

namespace shelvio {

// What a file on disk holds, told from its first bytes alone.
enum class FileKind {
    Missing,    // no file at the path
    Folder,     // a folder where the file should be
    Unreadable, // there, but it cannot be opened for reading
    Empty,      // zero bytes
    SQLite,     // an SQLite 3 database
    Jet,        // a Jet (Access) database written by the older program
    Other,      // anything else
};

FileKind detectFileKind(const QString& path);

// Why a file of this kind cannot be read as a catalogue, in words for the
// user, after the file has been named: "The file is empty: it holds no
// catalogue." Nothing for an SQLite file, whose tables are checked next.
// Every message about an unusable catalogue file takes its cause from here.
std::optional<QString> fileKindProblem(FileKind kind);

} // namespace shelvio
