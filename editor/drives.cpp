#include "drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// File systems that hold no user files: the kernel's views, memory-backed
// scratch space and read-only package images.
bool isSystemFileSystem(const QByteArray& type)
{
    static const QList<QByteArray> system{
        "autofs",   "binfmt_misc", "bpf",        "cgroup",    "cgroup2",  "configfs", "debugfs", "devpts",
        "devtmpfs", "efivarfs",    "fusectl",    "hugetlbfs", "mqueue",   "nsfs",     "proc",    "pstore",
        "ramfs",    "rpc_pipefs",  "securityfs", "selinuxfs", "squashfs", "sysfs",    "tmpfs",   "tracefs"};
    return system.contains(type);
}

QString driveText(const QString& rootPath, const QString& name)
{
    const QString path = QDir::toNativeSeparators(rootPath);
    return name.isEmpty() ? path : u"%1  [%2]"_s.arg(path, name);
}

} // namespace

bool liesIn(const QString& folder, const QString& root)
{
    if (root == u"/"_s)
        return folder.startsWith(u'/');
    return folder == root || folder.startsWith(root + u'/');
}

bool holdsUserFiles(const QString& rootPath, const QByteArray& fileSystemType)
{
    if (isSystemFileSystem(fileSystemType))
        return false;
    for (const QString& system : {u"/proc"_s, u"/sys"_s, u"/dev"_s, u"/run"_s}) {
        if (liesIn(rootPath, system))
            return false;
    }
    return true;
}

QList<Drive> userDrives()
{
    const QString home = QDir::homePath();
    QList<Drive> drives{{u"/"_s, u"/"_s}};
    if (home != u"/"_s)
        drives << Drive{home, u"%1  [home folder]"_s.arg(QDir::toNativeSeparators(home))};
    QList<Drive> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // A container's single bind-mounted files are volumes too; only
        // folders can be picked.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir())
            continue;
        if (root == u"/"_s || root == home || !holdsUserFiles(root, volume.fileSystemType()))
            continue;
        if (std::none_of(volumes.cbegin(), volumes.cend(),
                         [&](const Drive& d) { return d.rootPath == root; }))
            volumes << Drive{root, driveText(root, volume.name())};
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Drive& a, const Drive& b) { return a.rootPath < b.rootPath; });
    return drives + volumes;
}

int driveOf(const QList<Drive>& drives, const QString& folder)
{
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        if (liesIn(folder, drives[i].rootPath) &&
            (best < 0 || drives[i].rootPath.size() > drives[best].rootPath.size()))
            best = i;
    }
    return best;
}

} // namespace shelvio
