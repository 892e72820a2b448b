// The book tree of the main window: the three orderings and the upkeep of
// single nodes after a save or a delete.
#include "frmbooklist.h"

#include "booktreeview.h"
#include "nameforms.h"
#include "ui_frmbooklist.h"

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
    BookTreeModel& tree = ui->TreeView1->nodes();
    qint64 count = 0;
    ui->TreeView1->setRootIsDecorated(false); // no node has children here
    tree.beginBuild(m_catalogue.bookCount().value_or(0));
    const Status read = m_catalogue.forEachBookByTitle([&](qint64 id, const QString& sortTitle) {
        tree.addRoot(titleNodeKey(id), sortTitle);
        ++count;
    });
    tree.endBuild();
    showCount(count, false);
    if (!read)
        reportFailure(u"The books could not all be read."_s, read.error());
}

void frmBookList::BuildTreeByAuthor()
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    qint64 count = 0;
    ui->TreeView1->setRootIsDecorated(true);
    tree.beginBuild(m_catalogue.bookCount().value_or(0));
    // Rows come by author: the name and key of the row before serve again.
    QString lastAuthor, lastFirstName, name, key;
    const Status read = m_catalogue.forEachBookByAuthor(
        [&](qint64 id, const QString& sortTitle, const QString& author, const QString& firstName) {
            if (count == 0 || author != lastAuthor || firstName != lastFirstName) {
                lastAuthor = author;
                lastFirstName = firstName;
                name = authorName(author, firstName);
                key = authorNodeKey(name);
            }
            tree.addToGroup(key, name, titleNodeKey(id), sortTitle);
            ++count;
        });
    tree.endBuild();
    showCount(count, false);
    if (!read)
        reportFailure(u"The books could not all be read."_s, read.error());
}

void frmBookList::BuildTreeByCategory()
{
    BookTreeModel& tree = ui->TreeView1->nodes();
    qint64 row = 0;
    QString lastCategory, key; // rows come by category: its key serves again
    ui->TreeView1->setRootIsDecorated(true);
    tree.beginBuild();
    const Status read =
        m_catalogue.forEachBookByCategory([&](qint64 id, const QString& sortTitle, const QString& category) {
            if (row == 0 || category != lastCategory) {
                lastCategory = category;
                key = categoryNodeKey(category);
            }
            tree.addToGroup(key, category, categoryBookNodeKey(row, id), sortTitle);
            ++row;
        });
    tree.endBuild();
    // The label counts every book, with or without a category.
    const Result<qint64> count = m_catalogue.bookCount();
    showCount(count.value_or(0), false);
    if (!read || !count)
        reportFailure(u"The books could not all be read."_s, read ? count.error() : read.error());
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
