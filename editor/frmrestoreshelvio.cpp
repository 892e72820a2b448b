#include "frmrestoreshelvio.h"

#include "backuprestorewindows.h"
#include "cataloguefiles.h"
#include "cataloguehost.h"
#include "folderpickers.h"
#include "fonts.h"
#include "prompter.h"
#include "ui_frmrestoreshelvio.h"
#include "windowlook.h"

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString messageTitle()
{
    return u"Shelvio Restore"_s;
}

} // namespace

frmRestoreShelvio::frmRestoreShelvio(CatalogueHost& host, QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::frmRestoreShelvio>())
    , m_host(host)
{
    ui->setupUi(this);
    setUpControls();
    m_pickers = new FolderPickers(ui->Drive1, ui->Dir1, ui->File1, m_host.prompter(), windowTitle(), this);
    m_pickers->showOnlyFile(backupFileName());
    connect(ui->Command1, &QPushButton::clicked, this, &frmRestoreShelvio::Command1_Click);
}

frmRestoreShelvio::~frmRestoreShelvio() = default;

void frmRestoreShelvio::setUpControls()
{
    QFont font = dialogFont(9.75);
    font.setBold(true);
    ui->Label1->setFont(font);
    setUpBackupRestoreWindow(this);
}

void frmRestoreShelvio::Command1_Click()
{
    Prompter& prompter = m_host.prompter();
    const QString folder = m_pickers->chosenFolder();
    // Asked of the disk, not of File1, which fills itself in the background.
    if (!folderHoldsBackup(folder)) {
        const auto answer =
            prompter.ask(u"Your Backup file is not located at the location specified.  The file "
                         u"Shelvo.bak must exist in the location specified to perform backup."_s,
                         u"Invalid Backup Location"_s, Prompter::Buttons::OkCancel, Prompter::Answer::Ok);
        if (answer == Prompter::Answer::Cancel)
            close();
        return;
    }
    const auto answer =
        prompter.ask(u"Are you sure you want to restore this file?  All Contents on your current "
                     u"file will be replaced."_s,
                     u"Verify Restore"_s, Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
    if (answer == Prompter::Answer::Cancel)
        close();
    if (answer != Prompter::Answer::Yes)
        return;
    RestoreData(backupFilePath(folder));
}

void frmRestoreShelvio::RestoreData(const QString& backupPath)
{
    // The backup is checked and copied beside the catalogue before the
    // editor lets go of the catalogue; only the final rename comes after.
    CatalogueReplacement replacement(backupPath, m_host.cataloguePath());
    Status prepared;
    Status replaced;
    {
        BusyCursor busy;
        prepared = replacement.prepare();
        if (prepared) {
            m_host.releaseCatalogue();
            replaced = replacement.commit();
        }
    }
    if (!prepared) {
        m_host.prompter().inform(
            u"The backup was not restored. %1\n\nYour catalogue was left as it was."_s.arg(
                prepared.error().text()),
            messageTitle());
        return;
    }
    if (!replaced) {
        reportFailedReplacement(replaced.error().text());
        return;
    }
    m_host.prompter().inform(u"Restore of Shelvio was successful.  Restart Program for restored data."_s,
                             messageTitle());
    m_host.endProgram();
}

void frmRestoreShelvio::reportFailedReplacement(const QString& error)
{
    const Status reopened = m_host.reopenCatalogue();
    if (reopened) {
        m_host.prompter().inform(
            u"The backup was not restored. %1\n\nYour catalogue was left as it was and is open again."_s.arg(
                error),
            messageTitle());
        return;
    }
    m_host.prompter().inform(
        u"The backup was not restored. %1\n\nYour catalogue was left as it was, but it could "
        u"not be opened again: %2\n\nTomarium will close; start it again to go on."_s.arg(
            error, reopened.error().text()),
        messageTitle());
    m_host.endProgram();
}

} // namespace shelvio
