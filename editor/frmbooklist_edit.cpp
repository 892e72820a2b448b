// The edit area of the main window: clearing it, showing a book, tracking
// unsaved changes, and the Save, Delete This Record and Clear Screen actions.
#include "frmbooklist.h"

#include "bookfinder.h"
#include "booktreeview.h"
#include "categorylist.h"
#include "nameforms.h"
#include "numbers.h"
#include "ui_frmbooklist.h"

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString optionalText(const std::optional<qint64>& number)
{
    return number ? QString::number(*number) : QString();
}

} // namespace

void frmBookList::markChanged()
{
    ChangesMade = true;
}

void frmBookList::onDateChanged(const QString& text)
{
    // A read date typed for a new book means it has been read.
    if (!text.isEmpty() && NewEntry)
        ui->chkReadBook->setChecked(true);
    ChangesMade = true;
}

Prompter::Answer frmBookList::askUnsavedChanges()
{
    return m_prompter.ask(
        u"You made some changes to this record.  Do you wish to save before Clearing the screen?"_s,
        u"Changes Made"_s, Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
}

// Asks about unsaved changes when there are any; false when the action that
// asked must stop (Cancel, or a save that did not write the book).
bool frmBookList::settleUnsavedChanges()
{
    if (!ChangesMade)
        return true;
    switch (askUnsavedChanges()) {
    case Prompter::Answer::Yes:
        return Save();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

// The rating boxes in the order of the scale, Bad to Excellent.
std::array<QCheckBox*, 5> frmBookList::ratingBoxes() const
{
    return {ui->chkRating2, ui->chkRating4, ui->chkRating6, ui->chkRating8, ui->chkRating10};
}

void frmBookList::ClearBookFields()
{
    NewEntry = true;
    for (QLineEdit* box : {ui->txtTitle, ui->txtAuthor, ui->txtAuthorFirstName, ui->txtPages, ui->txtCost,
                           ui->txtMonth, ui->txtDay, ui->txtYear, ui->txtYrPub})
        box->clear();
    ui->txtComments->clear();
    for (QCheckBox* box : {ui->chkOwnBook, ui->chkWantBook, ui->chkReadBook, ui->chkWantToReadBook})
        box->setChecked(false);
    ui->txtBookID->clear();
    m_loadedBookId.reset();
    for (QCheckBox* box : ratingBoxes())
        box->setChecked(false);
    fillAvailableCategories();
    ui->lstCategoriesSelected->clear();
    ui->txtTitle->setFocus();
    LoadedTitle.clear();
    LoadedAuthor.clear();
    LoadedFirstName.clear();
    ChangesMade = false;
}

void frmBookList::ShowBookFields(const Book& book)
{
    ui->txtAuthor->setText(book.author);
    ui->txtTitle->setText(book.title);
    ui->txtPages->setText(optionalText(book.pages));
    ui->txtCost->setText(book.costUnits ? formatCost(*book.costUnits) : QString());
    ui->txtComments->setPlainText(book.comments);
    const ReadDateParts date = splitReadDate(book.dateRead);
    ui->txtMonth->setText(date.month);
    ui->txtDay->setText(date.day);
    ui->txtYear->setText(date.year);
    ui->txtYrPub->setText(optionalText(book.yearPublished));
    const RatingBoxes ticked = boxesForRating(book.rating);
    for (size_t i = 0; i < ticked.size(); ++i)
        ratingBoxes()[i]->setChecked(ticked[i]);
    ui->chkWantBook->setChecked(book.wantToBuy);
    ui->chkOwnBook->setChecked(book.ownBook);
    ui->chkReadBook->setChecked(book.readBook);
    ui->chkWantToReadBook->setChecked(book.wantToRead);
    ui->txtAuthorFirstName->setText(book.firstName);
    m_loadedBookId = book.id;
    ui->txtBookID->setText(QString::number(book.id.value_or(0)));
    LoadedTitle = book.title;
    LoadedAuthor = book.author;
    LoadedFirstName = book.firstName;
    ChangesMade = false;
}

// The book as typed, with its selected categories, or nothing when a number
// cannot be stored (the user has been told which).
std::optional<Book> frmBookList::bookFromFields()
{
    Book book;
    const struct {
        const char* field;
        ParsedNumber number;
        std::optional<qint64>* target;
    } numbers[] = {{"year published", parseWholeNumber(ui->txtYrPub->text()), &book.yearPublished},
                   {"number of pages", parseWholeNumber(ui->txtPages->text()), &book.pages},
                   {"cost", parseCost(ui->txtCost->text()), &book.costUnits}};
    for (const auto& [field, number, target] : numbers) {
        if (number.kind == ParsedNumber::OutOfRange) {
            m_prompter.inform(
                u"The %1 is too large a number to be stored. Please correct it; nothing has been "
                u"saved."_s.arg(QString::fromLatin1(field)),
                messageTitle());
            return std::nullopt;
        }
        if (number.kind == ParsedNumber::Value)
            *target = number.value;
    }
    book.id = m_loadedBookId;
    book.title = ui->txtTitle->text();
    book.author = ui->txtAuthor->text();
    book.firstName = ui->txtAuthorFirstName->text();
    book.dateRead = readDateText(ui->txtMonth->text(), ui->txtDay->text(), ui->txtYear->text());
    book.comments = ui->txtComments->toPlainText();
    RatingBoxes ticked{};
    for (size_t i = 0; i < ticked.size(); ++i)
        ticked[i] = ratingBoxes()[i]->isChecked();
    book.rating = ratingFromBoxes(ticked);
    book.wantToBuy = ui->chkWantBook->isChecked();
    book.ownBook = ui->chkOwnBook->isChecked();
    book.readBook = ui->chkReadBook->isChecked();
    book.wantToRead = ui->chkWantToReadBook->isChecked();
    book.categories = categoryNamesIn(ui->lstCategoriesSelected);
    return book;
}

bool frmBookList::Save()
{
    if (trimBlanks(ui->txtTitle->text()).isEmpty()) {
        m_prompter.inform(u"A title is required to save.  Please enter a title"_s, u"Missing Title"_s);
        return false;
    }
    if (refuseWhenReadOnly())
        return false;
    const auto book = bookFromFields();
    if (!book)
        return false;
    const Result<Book> saved = saveAsNewWhenVanished(m_catalogue.saveBook(*book), *book);
    if (saved.isNotFound())
        return false; // the user chose to keep the book on screen, unsaved
    if (!saved) {
        reportFailure(
            u"The book could not be saved. Nothing has been changed, and what you typed is still on "
            u"the screen."_s,
            saved.error());
        return false;
    }
    ui->txtBookID->setText(QString::number(*saved->id));
    m_finder->catalogueChanged();
    updateTreeAfterSave(*saved, !book->id || *book->id != *saved->id);
    ClearBookFields();
    refreshCountAfterChange();
    findAfterChange();
    return true;
}

// When the book on screen was deleted by another program since it was
// shown, the user may save what is on screen as a new book; its old node
// goes. Otherwise the answer stands as it is.
Result<Book> frmBookList::saveAsNewWhenVanished(const Result<Book>& saved, Book book)
{
    if (!saved.isNotFound() || !book.id)
        return saved;
    const auto answer =
        m_prompter.ask(u"This book is no longer in the catalogue; another program may have deleted it.\n\n"
                       u"Do you want to save what is on the screen as a new book?"_s,
                       messageTitle(), Prompter::Buttons::YesNo, Prompter::Answer::Yes);
    if (answer != Prompter::Answer::Yes)
        return saved;
    removeBookNode(*book.id);
    book.id.reset();
    return m_catalogue.saveBook(book);
}

void frmBookList::onTreeDoubleClick(const QString& key)
{
    const bool categoryOrdering = ui->optSortCategory->isChecked();
    // Author and category nodes are never loaded; the book's number is taken
    // now, since a save below may rebuild the tree.
    const bool groupNode = !ui->optSortByTitle->isChecked() && ui->TreeView1->nodes().childCount(key) > 0;
    const auto bookId = bookIdFromNodeKey(key, categoryOrdering);
    if (!settleUnsavedChanges())
        return;
    if (groupNode || !bookId)
        return;
    loadBook(*bookId);
}

void frmBookList::loadBook(qint64 bookId)
{
    ClearBookFields();
    const Result<Book> book = m_catalogue.loadBook(bookId);
    if (book.isNotFound()) {
        m_prompter.inform(u"This book is no longer in the catalogue; another program may have deleted it. "
                          u"The list of books will now be read again."_s,
                          messageTitle());
        RebuildTree();
        return;
    }
    if (!book) {
        reportFailure(u"The book could not be read."_s, book.error());
        return;
    }
    NewEntry = false;
    ShowBookFields(*book);
    selectCategories(book->categories);
}

void frmBookList::deleteRecord()
{
    if (!m_loadedBookId)
        return;
    if (refuseWhenReadOnly())
        return;
    const qint64 bookId = *m_loadedBookId;
    const Prompter::Answer answer =
        m_prompter.ask(u"Are you sure you want to delete this book?"_s, u"Deleting Book"_s,
                       Prompter::Buttons::YesNo, Prompter::Answer::Yes);
    if (answer == Prompter::Answer::Yes) {
        if (Status deleted = m_catalogue.deleteBook(bookId); !deleted) {
            reportFailure(u"The book could not be deleted. Nothing has been changed."_s, deleted.error());
            return;
        }
        m_finder->catalogueChanged();
        updateTreeAfterDelete(bookId);
    }
    refreshCountAfterChange();
    ClearBookFields();
    findAfterChange();
}

void frmBookList::clearScreen()
{
    if (!settleUnsavedChanges())
        return;
    ClearBookFields();
}

} // namespace shelvio
