#pragma once

#include <QList>
#include <QProcess>
#include <QString>

#include <memory>

// The ways a catalogue file can be missing, damaged, foreign or out of
// reach, each made at a path on demand, for tests that hand every kind to
// each program and to restore.
namespace testing {

struct DamagedFile {
    QString name;
    // Makes the file (or what stands in its place) at `path`, whose folder
    // exists and is the test's own.
    void (*make)(const QString& path);
    // Words the message must hold besides the file's name, for the editor
    // at start-up, the report viewer, and restore offered it as a backup.
    // Empty: the program uses the file as a catalogue and says nothing
    // about it.
    QString editorSays;
    QString viewerSays;
    QString restoreSays;
    // The editor goes on with it (after its message, if any).
    bool editorOpens = false;
    // Its permission bits are the point: they must apply to the test,
    // also when it runs as root (see PermissionBitsApply).
    bool permissionsMatter = false;
    // Another program holds it locked while the test runs.
    bool locked = false;
};

const QList<DamagedFile>& damagedFiles();

// One test row per kind, with a column "kind" (the index into damagedFiles()).
void addDamagedFileRows();

// A catalogue of a few dozen books spread over several pages, as a file
// of the program's own would be.
QByteArray wholeCatalogueBytes();

// The books the whole catalogue holds, one title of them.
QString wholeCatalogueTitle();

// Holds the file's exclusive lock from another process for `milliseconds`,
// longer than any program waits; lets go when it ends.
class LockHolder {
public:
    LockHolder(const QString& path, int milliseconds);
    ~LockHolder();
    bool holds() const { return m_holds; }

private:
    QProcess m_process;
    bool m_holds = false;
};

// While it lives, file permission bits bind this thread even when the tests
// run as root, who otherwise passes them by: its file-system user becomes
// "nobody" (setfsuid), which also drops root's right to override them. The
// test's own folders must then be open to others.
class PermissionBitsApply {
public:
    PermissionBitsApply();
    ~PermissionBitsApply();
    PermissionBitsApply(const PermissionBitsApply&) = delete;
    PermissionBitsApply& operator=(const PermissionBitsApply&) = delete;

private:
    int m_previous = -1;
};

// Lets others into a folder (and the folders it holds), as PermissionBitsApply needs.
void openToOthers(const QString& folder);

// A hash of the bytes at `path`, or of its absence or its being a folder,
// for checking that a program left it exactly as it was.
QByteArray fingerprint(const QString& path);

} // namespace testing
