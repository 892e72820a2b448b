#include "backuprestorewindows.h"

#include "frmbackupshelvio.h"
#include "frmrestoreshelvio.h"
#include "scaling.h"
#include "windowlook.h"
#include "windowroles.h"

#include <QShortcut>
#include <QWidget>

#include <cmath>

namespace shelvio {

namespace {

template <class Window> Window* showOnce(QPointer<Window>& window, CatalogueHost& host)
{
    if (!window) {
        window = new Window(host);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace

BackupRestoreWindows::BackupRestoreWindows(CatalogueHost host)
    : m_host(std::move(host))
{
}

BackupRestoreWindows::~BackupRestoreWindows()
{
    delete m_backup.data();
    delete m_restore.data();
}

frmBackupShelvio* BackupRestoreWindows::showBackup()
{
    return showOnce(m_backup, m_host);
}

frmRestoreShelvio* BackupRestoreWindows::showRestore()
{
    return showOnce(m_restore, m_host);
}

void setUpBackupRestoreWindow(QWidget* window)
{
    announcePlainWindowsAsWindows();
    paintWindowBlue(window);

    // The controls keep their places: the window is laid out for a 96-dpi
    // screen and cannot be resized.
    const QSize designed = window->size();
    const qreal scale = dpiScale(window);
    scaleFixedLayout(window);
    window->setFixedSize(int(std::lround(designed.width() * scale)),
                         int(std::lround(designed.height() * scale)));

    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

} // namespace shelvio
