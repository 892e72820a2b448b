#include "folderpickers.h"

#include "prompter.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace shelvio {

// Draws the chosen folder in bold, so that it stands out from the one that
// is merely highlighted.
class ChosenFolderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setChosen(const QString& path) { m_chosen = path; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(QFileSystemModel::FilePathRole).toString() == m_chosen)
            option->font.setBold(true);
    }

private:
    QString m_chosen;
};

namespace {

// Why a folder cannot be opened, or nothing when it can.
QString folderProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return u"it is not there"_s;
    if (!info.isDir())
        return u"it is not a folder"_s;
    if (!info.isReadable() || !info.isExecutable())
        return u"you have no permission to open it"_s;
    return {};
}

} // namespace

FolderPickers::FolderPickers(QComboBox* drive, QTreeView* dir, QListView* file, Prompter& prompter,
                             const QString& title, QObject* parent)
    : QObject(parent)
    , m_drive(drive)
    , m_dir(dir)
    , m_file(file)
    , m_prompter(prompter)
    , m_title(title)
    , m_delegate(new ChosenFolderDelegate(dir))
{
    fillDrives();
    setUpViews();
    // Start where the process is; a current folder that cannot be read
    // (removed, or closed to this user) gives way to home, then the root.
    for (const QString& start : {QDir::currentPath(), QDir::homePath(), u"/"_s}) {
        if (enterFolder(start).isEmpty())
            break;
    }
    connect(m_drive, &QComboBox::activated, this, &FolderPickers::openDrive);
    connect(&m_folders, &QFileSystemModel::directoryLoaded, this, &FolderPickers::onFolderRead);
    connect(m_dir, &QTreeView::activated, this,
            [this](const QModelIndex& index) { openFolder(m_folders.filePath(index)); });
}

FolderPickers::~FolderPickers() = default;

void FolderPickers::fillDrives()
{
    m_drives = userDrives();
    for (const Drive& drive : std::as_const(m_drives))
        m_drive->addItem(drive.text, drive.rootPath);
}

void FolderPickers::setUpViews()
{
    m_folders.setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_folders.setRootPath(u"/"_s);
    m_dir->setModel(&m_folders);
    m_dir->setItemDelegate(m_delegate);
    m_dir->setHeaderHidden(true);
    for (int column = 1; column < m_folders.columnCount(); ++column)
        m_dir->hideColumn(column);
    m_dir->setSortingEnabled(true);
    m_dir->sortByColumn(0, Qt::AscendingOrder);

    m_files.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_files.setReadOnly(true);
    m_file->setModel(&m_files);
}

void FolderPickers::showOnlyFile(const QString& name)
{
    m_files.setFilter(m_files.filter() | QDir::CaseSensitive);
    m_files.setNameFilterDisables(false);
    m_files.setNameFilters({name});
}

bool FolderPickers::openFolder(const QString& path)
{
    const QString problem = enterFolder(path);
    if (problem.isEmpty())
        return true;
    tell(u"The folder %1 cannot be read: %2.\n\nChoose another folder."_s.arg(QDir::toNativeSeparators(path),
                                                                              problem));
    return false;
}

QModelIndex FolderPickers::folderIndex(const QString& path) const
{
    return m_folders.index(path);
}

void FolderPickers::openDrive(int index)
{
    const Drive drive = m_drives.value(index);
    if (const QString problem = folderProblem(drive.rootPath); !problem.isEmpty()) {
        tell(u"The drive %1 cannot be read: %2.\n\nChoose another drive."_s.arg(
            QDir::toNativeSeparators(drive.rootPath), problem));
        m_drive->setCurrentIndex(driveOf(m_drives, m_chosen));
        return;
    }
    // A drive's current folder is the process's current folder when that
    // lies on it, else its root.
    const QString current = QDir::currentPath();
    const bool currentOnDrive = driveOf(m_drives, current) == index;
    if (!currentOnDrive || !enterFolder(current).isEmpty())
        enterFolder(drive.rootPath);
}

// Opens the folder without telling the user anything; returns why it could
// not be opened, or nothing.
QString FolderPickers::enterFolder(const QString& path)
{
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (const QString problem = folderProblem(folder); !problem.isEmpty())
        return problem;
    m_chosen = folder;
    m_readSinceChoice.clear();
    m_dir->setCurrentIndex(m_folders.index(folder));
    showChosenInTree();
    m_delegate->setChosen(folder);
    m_dir->viewport()->update();
    m_dir->setAccessibleDescription(u"Chosen folder: %1"_s.arg(QDir::toNativeSeparators(folder)));
    m_file->setRootIndex(m_files.setRootPath(folder));
    m_drive->setCurrentIndex(driveOf(m_drives, folder));
    emit chosenFolderChanged(folder);
    return {};
}

// The folders on the way to the chosen one are read in the background; each
// time one of them has been read, the chosen folder is brought into view.
// Later reads of the same folders (when their contents change) leave the
// view where the user has put it.
void FolderPickers::onFolderRead(const QString& path)
{
    if (!liesIn(m_chosen, path) || m_readSinceChoice.contains(path))
        return;
    m_readSinceChoice.insert(path);
    showChosenInTree();
}

void FolderPickers::showChosenInTree()
{
    // Like the folder itself, its subfolders are open to view.
    for (QModelIndex index = m_folders.index(m_chosen); index.isValid(); index = index.parent())
        m_dir->expand(index);
    // Scrolled once the view has laid out the rows just read.
    QTimer::singleShot(0, m_dir, [this] {
        m_dir->scrollTo(m_folders.index(m_chosen), QAbstractItemView::PositionAtCenter);
    });
}

void FolderPickers::tell(const QString& message)
{
    m_prompter.inform(message, m_title);
}

} // namespace shelvio
