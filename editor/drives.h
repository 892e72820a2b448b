#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace shelvio {

// A place the drive picker offers: Linux has no drive letters, so the
// "drives" are the file system root, the home folder and the mounted
// volumes that hold the user's files.
struct Drive {
    QString rootPath;
    QString text; // what the picker shows
};

// The drives of this machine: the root first, then the home folder, then
// the other volumes in order of their paths.
QList<Drive> userDrives();

// Whether a mounted volume can hold the user's files: not a kernel, device
// or runtime file system (/proc, /sys, /dev, /run), not a temporary one, not
// a read-only package image.
bool holdsUserFiles(const QString& rootPath, const QByteArray& fileSystemType);

// The drive a folder lies on: the one with the longest root that holds it;
// -1 when none does.
int driveOf(const QList<Drive>& drives, const QString& folder);

// Whether `folder` is `root` or lies below it.
bool liesIn(const QString& folder, const QString& root);

} // namespace shelvio
