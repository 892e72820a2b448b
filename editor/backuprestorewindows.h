#pragma once

#include "cataloguehost.h"

#include <QPointer>

class QWidget;

namespace shelvio {

class frmBackupShelvio;
class frmRestoreShelvio;

// The File menu's Backup and Restore windows: at most one of each, shown
// beside the editor without blocking it. A window has no parent, so it stays
// open when the main window closes and the program ends with its last
// window. Windows still open when this object goes are closed with it.
class BackupRestoreWindows {
public:
    explicit BackupRestoreWindows(CatalogueHost host);
    ~BackupRestoreWindows();
    BackupRestoreWindows(const BackupRestoreWindows&) = delete;
    BackupRestoreWindows& operator=(const BackupRestoreWindows&) = delete;

    // Opens the window, or brings the open one to the front.
    frmBackupShelvio* showBackup();
    frmRestoreShelvio* showRestore();

private:
    CatalogueHost m_host;
    QPointer<frmBackupShelvio> m_backup;
    QPointer<frmRestoreShelvio> m_restore;
};

// What the two windows share: the light-blue background, the fixed layout
// scaled to the screen, and Escape to close.
void setUpBackupRestoreWindow(QWidget* window);

} // namespace shelvio
