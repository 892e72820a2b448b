#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString partialFilePath(const QString& target)
{
    const QFileInfo info(target);
    return info.dir().filePath(u"."_s + info.fileName() + u".partial"_s);
}

AtomicFile::AtomicFile(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath())
    , m_partial(partialFilePath(m_target))
{
}

AtomicFile::~AtomicFile()
{
    drop();
}

void AtomicFile::drop()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_named)
        ::unlink(encoded(m_partial).constData());
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    m_fd = m_folderFd = -1;
    m_named = false;
}

Status AtomicFile::fail(const QString& cause)
{
    drop();
    return Error::failed(u"%1 cannot be written: %2."_s.arg(QDir::toNativeSeparators(m_target), cause));
}

Status AtomicFile::open(mode_t permissions)
{
    drop();
    const QByteArray folder = encoded(QFileInfo(m_target).absolutePath());
    m_folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        return fail(systemError());
    // A stand-in a killed program left behind is ours to clear.
    ::unlink(encoded(m_partial).constData());
    m_fd = ::openat(m_folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions);
    if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT)) {
        m_fd = ::open(encoded(m_partial).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, permissions);
        m_named = m_fd >= 0;
    }
    if (m_fd < 0)
        return fail(systemError());
    // The umask must not narrow what the caller asked for (a catalogue's own
    // bits, say); it already shaped the default.
    if (permissions != 0666 && ::fchmod(m_fd, permissions) != 0)
        return fail(systemError());
    return {};
}

Status AtomicFile::write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(written < 0 ? systemError() : u"nothing could be written"_s);
        data += written;
        size -= written;
    }
    return {};
}

Status AtomicFile::commit()
{
    if (m_fd < 0)
        return fail(u"it was not opened"_s);
    if (::fsync(m_fd) != 0)
        return fail(systemError());
    const QByteArray partial = encoded(m_partial);
    if (!m_named) {
        // A nameless file is named through its entry under /proc.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, partial.constData(), AT_SYMLINK_FOLLOW) != 0)
            return fail(systemError());
        m_named = true;
    }
    if (::rename(partial.constData(), encoded(m_target).constData()) != 0)
        return fail(systemError());
    m_named = false;
    // The new name is on disk only once the folder is.
    ::fsync(m_folderFd);
    drop();
    return {};
}

} // namespace shelvio
