#include "frmbooklist.h"

#include "backuprestorewindows.h"
#include "bookfinder.h"
#include "booktreeview.h"
#include "cataloguefiles.h"
#include "categorylist.h"
#include "findpanel.h"
#include "legacystartup.h"
#include "programsetup.h"
#include "scaling.h"
#include "ui_frmbooklist.h"
#include "windowlook.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The viewer finds the usual catalogue by the same rule as the editor; one
// named on the command line is handed on.
QStringList viewerArguments(const CatalogueLocation& catalogue)
{
    if (catalogue.place != CatalogueLocation::Place::Chosen)
        return {};
    return {u"--catalogue"_s, catalogue.path};
}

} // namespace

frmBookList::frmBookList(const CatalogueLocation& catalogue, const QString& programFolder, Prompter& prompter,
                         QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::frmBookList>())
    , m_prompter(prompter)
    , m_location(catalogue)
    , m_programFolder(programFolder)
{
    ui->setupUi(this);
    setUpControls();
    connectHandlers();
    setUpFind();
}

frmBookList::~frmBookList() = default;

const BookTreeModel& frmBookList::treeNodes() const
{
    return ui->TreeView1->nodes();
}

void frmBookList::setUpControls()
{
    // The window and the frames, check boxes and options it holds share one
    // light blue; text boxes and lists keep their own white.
    paintWindowBlue(this);
    ui->centralwidget->setAutoFillBackground(true);

    // Captions of the labels, the frames and the four flag boxes are bold; the
    // options inside a frame are not.
    QList<QWidget*> bold{ui->Frame1,      ui->Frame2,    ui->chkReadBook, ui->chkWantToReadBook,
                         ui->chkWantBook, ui->chkOwnBook};
    for (QLabel* label : ui->centralwidget->findChildren<QLabel*>())
        bold << label;
    for (QWidget* widget : bold) {
        QFont font = widget->font();
        font.setBold(true);
        widget->setFont(font);
    }
    for (QWidget* frame : {ui->Frame1, ui->Frame2}) {
        for (QWidget* child : frame->findChildren<QWidget*>()) {
            QFont font = child->font();
            font.setBold(false);
            child->setFont(font);
        }
    }
    ui->lstCategories->setSortingEnabled(true);
    ui->lstCategoriesSelected->setSortingEnabled(true);
    ui->txtBookID->hide();
    scaleFixedLayout(this);
}

void frmBookList::connectHandlers()
{
    connectOrdering(ui->optSortByTitle, &frmBookList::BuildTreeByTitle);
    connectOrdering(ui->optSortAuthor, &frmBookList::BuildTreeByAuthor);
    connectOrdering(ui->optSortCategory, &frmBookList::BuildTreeByCategory);
    connect(ui->TreeView1, &BookTreeView::nodeDoubleClicked, this, &frmBookList::onTreeDoubleClick);
    connect(ui->Command1, &QPushButton::clicked, this, [this] { Save(); });
    connect(ui->Command3, &QPushButton::clicked, this, &frmBookList::deleteRecord);
    connect(ui->Command4, &QPushButton::clicked, this, &frmBookList::clearScreen);
    connect(ui->Command2, &QPushButton::clicked, this, &frmBookList::addCategory);
    connect(ui->Command5, &QPushButton::clicked, this, &frmBookList::deleteCategory);
    connect(ui->Command6, &QPushButton::clicked, this, &frmBookList::startReports);
    connect(ui->mnuExit, &QAction::triggered, this, &frmBookList::endProgram);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmBookList::showAbout);
    connect(ui->mnuExport, &QAction::triggered, this, &frmBookList::exportBooks);
    connect(ui->mnuImport, &QAction::triggered, this, &frmBookList::importBooks);
    m_backupRestore = std::make_unique<BackupRestoreWindows>(
        CatalogueHost(m_catalogue, m_prompter, [this] { emit endProgram(); }));
    connect(ui->mnuBackup, &QAction::triggered, this, [this] { m_backupRestore->showBackup(); });
    connect(ui->mnuRestore, &QAction::triggered, this, [this] { m_backupRestore->showRestore(); });

    for (QLineEdit* box :
         {ui->txtTitle, ui->txtAuthor, ui->txtAuthorFirstName, ui->txtYrPub, ui->txtPages, ui->txtCost})
        connect(box, &QLineEdit::textChanged, this, &frmBookList::markChanged);
    connect(ui->txtComments, &QPlainTextEdit::textChanged, this, &frmBookList::markChanged);
    for (QLineEdit* box : {ui->txtMonth, ui->txtDay, ui->txtYear})
        connect(box, &QLineEdit::textChanged, this, &frmBookList::onDateChanged);
    for (QCheckBox* box : {ui->chkOwnBook, ui->chkWantBook, ui->chkReadBook, ui->chkWantToReadBook})
        connect(box, &QCheckBox::toggled, this, &frmBookList::markChanged);
    for (QCheckBox* box : ratingBoxes())
        connect(box, &QCheckBox::toggled, this, &frmBookList::markChanged);
    connect(ui->lstCategories, &QListWidget::itemDoubleClicked, this,
            [this] { moveCategory(ui->lstCategories, ui->lstCategoriesSelected); });
    connect(ui->lstCategoriesSelected, &QListWidget::itemDoubleClicked, this,
            [this] { moveCategory(ui->lstCategoriesSelected, ui->lstCategories); });
    onEntryChosenByKey(ui->lstCategories,
                       [this] { moveCategory(ui->lstCategories, ui->lstCategoriesSelected); });
    onEntryChosenByKey(ui->lstCategoriesSelected,
                       [this] { moveCategory(ui->lstCategoriesSelected, ui->lstCategories); });
}

// An ordering option builds its tree when it is switched on, whichever way:
// a click or the arrow keys (which click), or a screen reader's toggle
// action, which switches the option without a click; that one is built as
// soon as the event is done. A click on the option already on builds again,
// as a way to read the catalogue afresh.
void frmBookList::connectOrdering(QRadioButton* option, void (frmBookList::*build)())
{
    connect(option, &QRadioButton::toggled, this, [this, option, build](bool on) {
        if (!on)
            return;
        m_unbuiltOrdering = option;
        QTimer::singleShot(0, this, [this, option, build] {
            if (m_unbuiltOrdering == option) {
                m_unbuiltOrdering = nullptr;
                (this->*build)();
                findAfterChange();
            }
        });
    });
    connect(option, &QRadioButton::clicked, this, [this, build] {
        m_unbuiltOrdering = nullptr;
        (this->*build)();
        findAfterChange();
    });
}

bool frmBookList::load(Access access)
{
    DatabasePath = m_location.path;
    // The user's own data folder may not be there yet.
    if (m_location.place == CatalogueLocation::Place::UserData)
        QDir().mkpath(m_location.folder());
    if (!openCatalogue(access))
        return false;
    fillAvailableCategories();
    ui->optSortByTitle->setChecked(true);
    m_unbuiltOrdering = nullptr; // built here and now
    BuildTreeByTitle();
    ui->TreeView1->setFocus();
    return true;
}

bool frmBookList::openCatalogue(Access access)
{
    const QString path = nativePath(DatabasePath);
    switch (m_catalogue.open(DatabasePath, access)) {
    case Catalogue::OpenStatus::Opened:
        return true;
    case Catalogue::OpenStatus::Created:
        m_prompter.inform(createdMessage(), messageTitle());
        return true;
    case Catalogue::OpenStatus::ReadOnly:
        m_prompter.inform(u"The catalogue %1 can only be read, so it is open for browsing.\n\nBooks and "
                          u"categories cannot be saved, changed or deleted until the file and its folder "
                          u"can be written to."_s.arg(path),
                          messageTitle());
        return true;
    case Catalogue::OpenStatus::NotACatalogue:
        m_prompter.inform(notACatalogueMessage(DatabasePath, m_catalogue.openProblem()), messageTitle());
        return false;
    case Catalogue::OpenStatus::LegacyFormat:
        // Converted with the user's consent, it opens as any catalogue.
        return offerLegacyConversion(DatabasePath, m_prompter) && openCatalogue(access);
    case Catalogue::OpenStatus::Failed:
        break;
    }
    m_prompter.inform(u"The catalogue %1 could not be opened. %2\n\nTomarium will close."_s.arg(
                          path, m_catalogue.openProblem()),
                      messageTitle());
    return false;
}

QString frmBookList::createdMessage() const
{
    QString text =
        u"No catalogue was found, so a new, empty one has been created:\n%1"_s.arg(nativePath(DatabasePath));
    if (m_location.place == CatalogueLocation::Place::UserData) {
        text += u"\n\nThe program's folder %1 cannot be written to, so your catalogue is kept in your own "
                u"data folder %2."_s.arg(nativePath(m_programFolder), nativePath(m_location.folder()));
    }
    return text;
}

bool frmBookList::refuseWhenReadOnly()
{
    if (!m_catalogue.isReadOnly())
        return false;
    m_prompter.inform(
        u"The catalogue %1 is open read-only, so nothing can be saved, changed or deleted."_s.arg(
            nativePath(DatabasePath)),
        messageTitle());
    return true;
}

void frmBookList::reportFailure(const QString& what, const Error& error)
{
    m_prompter.inform(u"%1\n\nThe catalogue says: %2"_s.arg(what, error.text()), messageTitle());
}

void frmBookList::startReports()
{
    const QString program = m_programFolder + u"/shelvioreports"_s;
    const QFileInfo info(program);
    QString problem;
    if (!info.exists())
        problem = u"It is not there."_s;
    else if (!info.isExecutable())
        problem = u"It is not a program that can be run."_s;
    else if (!QProcess::startDetached(program, viewerArguments(m_location), m_programFolder))
        problem = u"It could not be started."_s;
    if (!problem.isEmpty()) {
        m_prompter.inform(
            u"The report viewer %1 could not be started. %2"_s.arg(nativePath(program), problem),
            messageTitle());
    }
}

void frmBookList::showAbout()
{
    m_prompter.inform(
        u"Tomarium %1\n\nA catalogue of your books, with its report viewer.\n\nLicence: %2.\n\n"
        u"Catalogue file in use:\n%3"_s.arg(programVersion(), licenceText(), nativePath(DatabasePath)),
        u"About Tomarium"_s);
}

void frmBookList::closeEvent(QCloseEvent* event)
{
    if (ChangesMade) {
        const Prompter::Answer answer = askUnsavedChanges();
        if (answer == Prompter::Answer::Cancel || (answer == Prompter::Answer::Yes && !Save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace shelvio
