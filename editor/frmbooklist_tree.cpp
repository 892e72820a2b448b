// The book tree of the main window: the three orderings and the upkeep of
// single nodes after a save or a delete.
#include "frmbooklist.h"

#include "booktreeview.h"
#include "nameforms.h"
#include "ui_frmbooklist.h"
#include "windowlook.h"

using namespace Qt::StringLiterals;

namespace shelvio {

void frmBookList::RebuildTree()
{
    if (ui->optSortByTitle->isChecked())
        BuildTreeByTitle();
    else if (ui->optSortCategory->isChecked())
        BuildTreeByCategory();
    else if (ui->optSortAuthor->isChecked())
        BuildTreeByAuthor();
}

void frmBookList::BuildTreeByTitle()
{
    BusyCursor busy;
    ui->TreeView1->setRootIsDecorated(false);                                     // no node has children here
    showListing(&Catalogue::booksByTitle, BookTreeModel::BookKeys::ByNumber, {}); // no runs
}

void frmBookList::BuildTreeByAuthor()
{
    BusyCursor busy;
    ui->TreeView1->setRootIsDecorated(true);
    showListing(&Catalogue::booksByAuthor, BookTreeModel::BookKeys::ByNumber,
                [](const BookListing::Run& run) {
                    const QString name = authorName(run.name, run.firstName);
                    return std::pair(authorNodeKey(name), name);
                });
}

void frmBookList::BuildTreeByCategory()
{
    BusyCursor busy;
    ui->TreeView1->setRootIsDecorated(true);
    // The label counts every book, with or without a category.
    showListing(&Catalogue::booksByCategory, BookTreeModel::BookKeys::ByRowAndNumber,
                [](const BookListing::Run& run) { return std::pair(categoryNodeKey(run.name), run.name); });
}

// Reads the listing and puts it into the tree, each run of rows under the
// group node its key and text name (authors, categories; rows that form a
// key already met join its node), and shows the count of books. The old
// tree goes first: a million nodes need not be held twice.
void frmBookList::showListing(
    Result<BookListing> (Catalogue::*read)(), BookTreeModel::BookKeys keys,
    const std::function<std::pair<QString, QString>(const BookListing::Run&)>& group)
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    tree.beginBuild();
    Result<BookListing> listing = (m_catalogue.*read)();
    if (!listing) {
        tree.endBuild();
        showCount(0, false);
        reportFailure(u"The books could not all be read."_s, listing.error());
        return;
    }
    std::vector<BookTreeModel::Group> groups;
    groups.reserve(listing->runs.size());
    for (const BookListing::Run& run : listing->runs) {
        auto [key, text] = group(run);
        groups.push_back({run.firstRow, std::move(key), std::move(text)});
    }
    const qint64 count = listing->bookCount();
    tree.endBuild(*std::move(listing), keys, groups);
    showCount(count, false);
}

void frmBookList::showCount(qint64 count, bool signedForm)
{
    const QString number = signedForm ? signedText(count) : QString::number(count);
    ui->lblBookCount->setText(number + u" Books on File."_s);
}

void frmBookList::refreshCountAfterChange()
{
    const auto count = m_catalogue.bookCount();
    if (count)
        showCount(*count, true);
}

// Works from the book as the store saved it: its number, names and sort
// title, against the names it had when it was shown.
void frmBookList::updateTreeAfterSave(const Book& saved, bool isNew)
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    const qint64 bookId = *saved.id;
    if (ui->optSortByTitle->isChecked()) {
        if (isNew || saved.title != LoadedTitle) {
            // A new or renamed book goes last; the next build puts it in its place.
            tree.remove(titleNodeKey(bookId));
            tree.addRoot(titleNodeKey(bookId), saved.sortTitle);
        }
    } else if (ui->optSortAuthor->isChecked()) {
        if (isNew || saved.firstName != LoadedFirstName || saved.author != LoadedAuthor ||
            saved.title != LoadedTitle)
            moveBookUnderAuthor(saved);
    } else if (ui->optSortCategory->isChecked()) {
        RebuildTree();
    }
}

void frmBookList::moveBookUnderAuthor(const Book& saved)
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    removeBookNode(*saved.id);
    const QString name = authorName(saved.author, saved.firstName);
    tree.addToGroup(authorNodeKey(name), name, titleNodeKey(*saved.id), saved.sortTitle);
}

void frmBookList::updateTreeAfterDelete(qint64 bookId)
{
    if (ui->optSortCategory->isChecked())
        RebuildTree();
    else
        removeBookNode(bookId);
}

// Removes a book's node; an author node left without books goes with it.
void frmBookList::removeBookNode(qint64 bookId)
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    const QString key = titleNodeKey(bookId);
    const QString parentKey = tree.parentKey(key);
    tree.remove(key);
    if (!parentKey.isEmpty() && tree.childCount(parentKey) == 0)
        tree.remove(parentKey);
}

} // namespace shelvio
