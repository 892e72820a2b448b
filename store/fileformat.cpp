#include "fileformat.h"

#include <QFile>
#include <QFileInfo>

namespace shelvio {

FileKind detectFileKind(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
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

} // namespace shelvio
