#include "frmbackupshelvio.h"

#include "backuprestorewindows.h"
#include "cataloguefiles.h"
#include "cataloguehost.h"
#include "folderpickers.h"
#include "fonts.h"
#include "prompter.h"
#include "ui_frmbackupshelvio.h"
#include "windowlook.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString messageTitle()
{
    return u"Shelvio Backup"_s;
}

} // namespace

frmBackupShelvio::frmBackupShelvio(CatalogueHost& host, QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::frmBackupShelvio>())
    , m_host(host)
{
    ui->setupUi(this);
    setUpControls();
    m_pickers = new FolderPickers(ui->Drive1, ui->Dir1, ui->File1, m_host.prompter(), windowTitle(), this);
    connect(ui->Command1, &QPushButton::clicked, this, &frmBackupShelvio::Command1_Click);
}

frmBackupShelvio::~frmBackupShelvio() = default;

void frmBackupShelvio::setUpControls()
{
    // The large title lies behind every other control, in the button-face
    // colour on the window's light blue.
    ui->Label1->setFont(scriptFont(72));
    QPalette title = ui->Label1->palette();
    title.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Button));
    ui->Label1->setPalette(title);
    ui->Label1->lower();
    setUpBackupRestoreWindow(this);
}

void frmBackupShelvio::Command1_Click()
{
    const QString target = backupFilePath(m_pickers->chosenFolder());
    Status copied;
    {
        BusyCursor busy;
        copied = m_host.backupTo(target);
    }
    if (!copied) {
        m_host.prompter().inform(
            u"The backup was not made. %1\n\nAny earlier backup in that folder was left as it was."_s.arg(
                copied.error().text()),
            messageTitle());
        return;
    }
    m_host.prompter().inform(u"Backup of Shelvio was successful."_s, messageTitle());
    close();
}

} // namespace shelvio
