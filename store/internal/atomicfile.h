#pragma once

#include "result.h"

#include <QString>

#include <sys/types.h>

namespace shelvio {

// A file written whole or not at all. The bytes go to a file without a name
// in the target's folder (O_TMPFILE), which is flushed to disk and only then
// given a name and renamed over the target: a program killed half-way, a
// full disk or a failed write leave the old target as it was and nothing
// beside it. Where the file system has no nameless files, a hidden file
// ".<name>.partial" beside the target stands in, and the next write to the
// same target clears one a killed program left behind.
class AtomicFile {
public:
    explicit AtomicFile(const QString& target);
    ~AtomicFile(); // an uncommitted file is dropped
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The new file gets these permission bits (before the umask) when it is
    // named; the default is the user's normal rw-rw-rw- less the umask.
    Status open(mode_t permissions = 0666);
    Status write(const char* data, qint64 size);
    // Flushes the file, names it and puts it in the target's place.
    Status commit();

    QString target() const { return m_target; }

private:
    Status fail(const QString& cause);
    void drop();

    QString m_target;
    QString m_partial; // the stand-in's name, where one was needed
    int m_fd = -1;
    int m_folderFd = -1;
    bool m_named = false; // the file has a name of its own (the stand-in)
};

// The leftover a killed write may leave beside the target.
QString partialFilePath(const QString& target);

} // namespace shelvio
