#include "fileformat.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace shelvio {

FileKind detectFileKind(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
    if (info.isDir())
        return FileKind::Folder;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Unreadable;
    const QByteArray head = file.read(32);
    if (head.isEmpty())
        return FileKind::Empty;
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return FileKind::SQLite;
    // A Jet file names its engine at offset 4: "Standard Jet DB" (Jet 3 and 4)
    // or "Standard ACE DB" (the later Access engine).
    const QByteArray engine = head.mid(4, 15);
    if (engine == "Standard Jet DB" || engine == "Standard ACE DB")
        return FileKind::Jet;
    return FileKind::Other;
}

std::optional<QString> fileKindProblem(FileKind kind)
{
    switch (kind) {
    case FileKind::SQLite:
        return std::nullopt;
    case FileKind::Missing:
        return u"The file was not found."_s;
    case FileKind::Folder:
        return u"It is a folder, not a file."_s;
    case FileKind::Unreadable:
        return u"The file cannot be read."_s;
    case FileKind::Empty:
        return u"The file is empty: it holds no catalogue."_s;
    case FileKind::Jet:
        return u"It is in the older Jet database format."_s;
    case FileKind::Other:
        break;
    }
    return u"It is not an SQLite database."_s;
}

} // namespace shelvio
