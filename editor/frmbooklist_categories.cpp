// The two category lists of the main window: moving entries between them,
// adding a category and deleting one.
#include "frmbooklist.h"

#include "categorylist.h"
#include "nameforms.h"
#include "schema.h"
#include "ui_frmbooklist.h"

using namespace Qt::StringLiterals;

namespace shelvio {

bool frmBookList::fillAvailableCategories()
{
    const auto names = m_catalogue.categoryNames();
    if (!names) {
        reportFailure(u"The categories could not be read."_s);
        return false;
    }
    ui->lstCategories->clear();
    for (const QString& name : *names)
        addCategoryName(ui->lstCategories, name);
    return true;
}

void frmBookList::selectCategoriesOfBook(qint64 bookId)
{
    const auto names = m_catalogue.categoryNamesOfBook(bookId);
    if (!names) {
        reportFailure(u"The book's categories could not be read."_s);
        return;
    }
    for (const QString& name : *names) {
        QListWidgetItem* item = findCategoryName(ui->lstCategories, name);
        if (!item)
            continue;
        addCategoryName(ui->lstCategoriesSelected, item->text());
        delete item;
    }
}

void frmBookList::moveCategory(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected())
        return;
    addCategoryName(to, item->text());
    delete item;
    ChangesMade = true;
}

void frmBookList::addCategory()
{
}

void frmBookList::deleteCategory()
{
}

} // namespace shelvio
