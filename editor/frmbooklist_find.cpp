// Edit > Find: the find bar over the tree, opening a book found, and F3
// through the found books in the tree.
#include "frmbooklist.h"

#include "bookfinder.h"
#include "booktreeview.h"
#include "findpanel.h"
#include "nameforms.h"
#include "ui_frmbooklist.h"

#include <QApplication>

namespace shelvio {

void frmBookList::setUpFind()
{
    m_finder = std::make_unique<BookFinder>(m_catalogue, ui->TreeView1->nodes());
    m_findPanel = std::make_unique<FindPanel>(m_finder->search(), ui->centralwidget);
    // Over the tree, in its place and size: nothing else moves.
    m_findPanel->setGeometry(ui->TreeView1->geometry());
    m_findPanel->hide();
    connect(ui->mnuFind, &QAction::triggered, this, &frmBookList::openFind);
    connect(ui->mnuFindNext, &QAction::triggered, this, [this] { findNext(true); });
    connect(ui->mnuFindPrevious, &QAction::triggered, this, [this] { findNext(false); });
    connect(ui->TreeView1, &BookTreeView::findRequested, this, &frmBookList::openFind);
    connect(m_findPanel.get(), &FindPanel::textEdited, this, &frmBookList::findAsTyped);
    connect(m_findPanel.get(), &FindPanel::bookChosen, this, &frmBookList::openFoundBook);
    connect(m_findPanel.get(), &FindPanel::closeRequested, this, &frmBookList::closeFind);
}

void frmBookList::openFind()
{
    const bool wasOpen = m_findPanel->isVisible();
    m_findPanel->open();
    m_finder->readTree();
    if (!wasOpen && m_finder->isStale() && !m_finder->text().isEmpty())
        showFindResults(m_finder->refresh());
}

void frmBookList::closeFind()
{
    m_findPanel->hide();
    ui->TreeView1->setFocus();
}

void frmBookList::findAsTyped(const QString& text)
{
    showFindResults(m_finder->find(text));
}

void frmBookList::showFindResults(const Status& found)
{
    if (found)
        m_findPanel->showFound(m_finder->books(), m_finder->terms());
    else
        m_findPanel->showProblem(found.error().text());
}

// Results follow every save, delete and new ordering while the find bar is
// open; a closed one catches up when it is next used.
void frmBookList::findAfterChange()
{
    if (m_findPanel->isVisible() && m_finder->isStale())
        showFindResults(m_finder->refresh());
}

// As a double-click on the book's node: the book's first node in the tree
// is selected and the double-click handler does the rest.
void frmBookList::openFoundBook(qint64 bookId)
{
    closeFind();
    QString key = m_finder->firstNodeOf(bookId);
    if (key.isEmpty()) {
        // No node in this ordering (a book without a category).
        if (settleUnsavedChanges())
            loadBook(bookId);
        return;
    }
    selectNode(key);
    onTreeDoubleClick(key);
    // Saving the changes on the way may have rebuilt the tree.
    if (m_finder->isStale() && m_finder->refresh())
        key = m_finder->firstNodeOf(bookId);
    selectNode(key);
}

void frmBookList::findNext(bool forward)
{
    if (m_finder->text().isEmpty()) {
        openFind();
        return;
    }
    if (m_findPanel->isVisible())
        closeFind();
    if (Status found = m_finder->refresh(); !found) {
        reportFailure(QStringLiteral("The books could not be searched."), found.error());
        return;
    }
    const QString key =
        m_finder->nextNode(ui->TreeView1->nodes().keyAt(ui->TreeView1->currentIndex()), forward);
    if (key.isEmpty()) {
        QApplication::beep();
        return;
    }
    selectNode(key);
    ui->TreeView1->setFocus();
}

void frmBookList::selectNode(const QString& key)
{
    const QModelIndex index = ui->TreeView1->nodes().indexOf(key);
    if (!index.isValid())
        return;
    if (index.parent().isValid())
        ui->TreeView1->expand(index.parent());
    ui->TreeView1->setCurrentIndex(index);
    ui->TreeView1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

} // namespace shelvio
