#pragma once

#include "booktreemodel.h"
#include "catalogue.h"
#include "cataloguelocation.h"
#include "exchangedialogs.h"
#include "prompter.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

namespace Ui {
class frmBookList;
}
class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

namespace shelvio {

class BackupRestoreWindows;
class BookFinder;
class BookTreeModel;
class FindPanel;

// The editor's main window: the book tree at the left, the edit area for one
// book with its categories at the right, and the File menu.
class frmBookList : public QMainWindow {
    Q_OBJECT
public:
    // The window works on the catalogue at `catalogue`; the report viewer
    // lies in programFolder. Every message and question goes through
    // prompter.
    frmBookList(const CatalogueLocation& catalogue, const QString& programFolder, Prompter& prompter,
                QWidget* parent = nullptr);
    ~frmBookList() override;

    // The start-up steps: opens the catalogue (creating it when missing),
    // fills the available categories and builds the tree by title. False when
    // the program cannot go on; the user has been told why.
    bool load(Access access = Access::ReadWrite);

    Catalogue& catalogue() { return m_catalogue; }
    const BookTreeModel& treeNodes() const;
    QString databasePath() const { return DatabasePath; }
    bool changesMade() const { return ChangesMade; }
    bool newEntry() const { return NewEntry; }
    QString loadedTitle() const { return LoadedTitle; }
    QString loadedAuthor() const { return LoadedAuthor; }
    QString loadedFirstName() const { return LoadedFirstName; }

    // The Save action; true when the book was written.
    bool Save();

    // The dialogs of File > Export Books and File > Import Books: the real
    // ones unless a test gives its own, which must outlive the window.
    void useExchangeDialogs(ExchangeDialogs& dialogs) { m_exchangeDialogs = &dialogs; }

signals:
    // File > Exit: the program ends at once, without the unsaved-changes
    // question.
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The title of the editor's own messages.
    static QString messageTitle() { return QStringLiteral("Tomarium"); }

    // Start-up and window
    bool openCatalogue(Access access);
    QString createdMessage() const;
    void setUpControls();
    void connectHandlers();
    void connectOrdering(QRadioButton* option, void (frmBookList::*build)());
    void startReports();
    void showAbout();
    bool refuseWhenReadOnly();
    void reportFailure(const QString& what, const Error& error);

    // The tree
    void RebuildTree();
    void BuildTreeByTitle();
    void BuildTreeByAuthor();
    void BuildTreeByCategory();
    void showListing(Result<BookListing> (Catalogue::*read)(), BookTreeModel::BookKeys keys,
                     const std::function<std::pair<QString, QString>(const BookListing::Run&)>& group);
    void showCount(qint64 count, bool signedForm);
    void refreshCountAfterChange();
    void updateTreeAfterSave(const Book& saved, bool isNew);
    void moveBookUnderAuthor(const Book& saved);
    void updateTreeAfterDelete(qint64 bookId);
    void removeBookNode(qint64 bookId);

    // The edit area
    std::array<QCheckBox*, 5> ratingBoxes() const;
    void ClearBookFields();
    void ShowBookFields(const Book& book);
    std::optional<Book> bookFromFields();
    Result<Book> saveAsNewWhenVanished(const Result<Book>& saved, Book book);
    Prompter::Answer askUnsavedChanges();
    bool settleUnsavedChanges();
    void onTreeDoubleClick(const QString& key);
    void loadBook(qint64 bookId);
    void deleteRecord();
    void clearScreen();
    void onDateChanged(const QString& text);
    void markChanged();

    // Finding books
    void setUpFind();
    void openFind();
    void closeFind();
    void findAsTyped(const QString& text);
    void showFindResults(const Status& found);
    void findAfterChange();
    void openFoundBook(qint64 bookId);
    void findNext(bool forward);
    void selectNode(const QString& key);
    // Bringing books in and taking them out
    void exportBooks();
    void importBooks();
    std::optional<exchange::ImportPlan> planFileImport(const QString& path);
    void addImportedBooks(const exchange::ImportPlan& plan, bool withBooksOnFile);

    // Categories
    bool fillAvailableCategories();
    void selectCategories(const QStringList& names);
    void moveCategory(QListWidget* from, QListWidget* to);
    void addCategory();
    void deleteCategory();

    std::unique_ptr<Ui::frmBookList> ui;
    Prompter& m_prompter;
    CatalogueLocation m_location;
    QString m_programFolder;
    Catalogue m_catalogue;

    // Window state, shared by the handlers.
    QString DatabasePath;
    bool ChangesMade = false;
    bool NewEntry = false;
    QString LoadedTitle;
    QString LoadedAuthor;
    QString LoadedFirstName;
    // The stored book in the edit area, shown in the hidden txtBookID box too.
    std::optional<qint64> m_loadedBookId;
    QRadioButton* m_unbuiltOrdering = nullptr; // switched on without a click, not built yet

    // Edit > Find; the panel goes before the finder whose catalogue search it
    // reads through.
    std::unique_ptr<BookFinder> m_finder;
    std::unique_ptr<FindPanel> m_findPanel;
    ExchangeDialogBoxes m_exchangeDialogBoxes;
    ExchangeDialogs* m_exchangeDialogs = &m_exchangeDialogBoxes;

    // File > Backup and File > Restore; declared last so that their windows
    // go before the catalogue they use.
    std::unique_ptr<BackupRestoreWindows> m_backupRestore;
};

} // namespace shelvio
