#pragma once

#include "drives.h"

#include <QFileSystemModel>
#include <QObject>
#include <QSet>

class QComboBox;
class QListView;
class QTreeView;

namespace shelvio {

class ChosenFolderDelegate;
class Prompter;

// The picker chain of the backup and restore windows: the drive picker
// (Drive1) moves the folder picker (Dir1) to a drive, and the folder opened
// in Dir1 is shown in the file list (File1). A folder is chosen by opening
// it (double-click or Enter), not by highlighting it; the chosen folder is
// drawn in bold. Places that cannot be read are refused with a message and
// the previous choice stays.
class FolderPickers : public QObject {
    Q_OBJECT
public:
    // Messages go through prompter under the given title. The pickers start
    // at the process's current folder.
    FolderPickers(QComboBox* drive, QTreeView* dir, QListView* file, Prompter& prompter, const QString& title,
                  QObject* parent = nullptr);
    ~FolderPickers() override;

    // File1 lists only files of exactly this name (letter case counts);
    // others are left out, not greyed.
    void showOnlyFile(const QString& name);

    QString chosenFolder() const { return m_chosen; }
    // Opens a folder in Dir1 and File1; false when it cannot be read (the
    // user has been told).
    bool openFolder(const QString& path);
    // The index of a folder in Dir1's model.
    QModelIndex folderIndex(const QString& path) const;

signals:
    void chosenFolderChanged(const QString& folder);

private:
    void fillDrives();
    void setUpViews();
    void openDrive(int index);
    QString enterFolder(const QString& path);
    void onFolderRead(const QString& path);
    void showChosenInTree();
    void tell(const QString& message);

    QComboBox* m_drive;
    QTreeView* m_dir;
    QListView* m_file;
    Prompter& m_prompter;
    QString m_title;
    QFileSystemModel m_folders;
    QFileSystemModel m_files;
    ChosenFolderDelegate* m_delegate;
    QList<Drive> m_drives;
    QString m_chosen;
    QSet<QString> m_readSinceChoice;
};

} // namespace shelvio
