// The two category lists of the main window: moving entries between them,
// adding a category and deleting one.
#include "frmbooklist.h"

#include "bookfinder.h"
#include "categorylist.h"
#include "nameforms.h"
#include "ui_frmbooklist.h"

using namespace Qt::StringLiterals;

namespace shelvio {

bool frmBookList::fillAvailableCategories()
{
    const Result<QStringList> names = m_catalogue.categoryNames();
    if (!names) {
        reportFailure(u"The categories could not be read."_s, names.error());
        return false;
    }
    ui->lstCategories->clear();
    for (const QString& name : *names)
        addCategoryName(ui->lstCategories, name);
    return true;
}

// Moves the book's categories from the available list to the selected one.
void frmBookList::selectCategories(const QStringList& names)
{
    for (const QString& name : names) {
        QListWidgetItem* item = findCategoryName(ui->lstCategories, name);
        if (!item)
            continue;
        addCategoryName(ui->lstCategoriesSelected, item->text());
        removeCategoryEntry(ui->lstCategories, item);
    }
}

void frmBookList::moveCategory(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected())
        return;
    addCategoryName(to, item->text());
    removeCategoryEntry(from, item);
    ChangesMade = true;
}

void frmBookList::addCategory()
{
    if (refuseWhenReadOnly())
        return;
    const QString name =
        m_prompter.askText(u"Enter in Name of New Category"_s, u"New Category"_s).value_or(QString());
    if (trimBlanks(name).isEmpty()) {
        m_prompter.inform(u"No Category Entered...Inserting New Category aborted"_s, u"Abort Insert"_s);
        return;
    }
    if (name.size() > categoryNameWidth) {
        m_prompter.inform(
            u"A category name can have at most %1 characters; this one has %2. Nothing has been "
            u"added."_s.arg(categoryNameWidth)
                .arg(name.size()),
            u"New Category"_s);
        return;
    }
    const Result<bool> onFile = m_catalogue.categoryNameOnFile(name);
    if (!onFile) {
        reportFailure(u"The categories could not be read. Nothing has been added."_s, onFile.error());
        return;
    }
    if (*onFile) {
        m_prompter.inform(u"This category is already on file.  Insert aborted."_s, u"Insert Aborted"_s);
        return;
    }
    if (Status added = m_catalogue.addCategory(name); !added) {
        reportFailure(u"The category could not be added. Nothing has been changed."_s, added.error());
        return;
    }
    addCategoryName(ui->lstCategories, name);
}

void frmBookList::deleteCategory()
{
    QListWidgetItem* item = ui->lstCategories->currentItem();
    if (!item || !item->isSelected()) {
        m_prompter.inform(u"No Category selected to delete.  Process aborted."_s, u"No Category Selected"_s);
        return;
    }
    if (refuseWhenReadOnly())
        return;
    const QString name = item->text();
    const Result<qint64> count = m_catalogue.booksUsingCategory(name);
    if (!count) {
        reportFailure(u"The books of this category could not be counted. Nothing has been deleted."_s,
                      count.error());
        return;
    }
    if (*count > 0) {
        const QString question = u"You have selected to delete the category '"_s + name +
                                 u"'.  There are "_s + QString::number(*count) +
                                 u" book(s) that use this category.   Are you sure you want to delete this "
                                 u"category?"_s;
        if (m_prompter.ask(question, u"Verify Deletion"_s, Prompter::Buttons::YesNo, Prompter::Answer::Yes) !=
            Prompter::Answer::Yes)
            return;
    }
    if (Status deleted = m_catalogue.deleteCategory(name); !deleted) {
        // A name no longer on file leaves the list as it is, without a word.
        if (!deleted.isNotFound())
            reportFailure(u"The category could not be deleted. Nothing has been changed."_s, deleted.error());
        return;
    }
    removeCategoryEntry(ui->lstCategories, item);
    m_finder->catalogueChanged();
    findAfterChange();
}

} // namespace shelvio
