// File > Export Books and File > Import Books of the main window.
#include "frmbooklist.h"

#include "bookcsv.h"
#include "bookfinder.h"
#include "ui_frmbooklist.h"
#include "windowlook.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

const QString exportTitle = u"Export Books"_s;
const QString importTitle = u"Import Books"_s;

} // namespace

void frmBookList::exportBooks()
{
    const auto path = m_exchangeDialogs->exportFileName(this);
    if (!path)
        return;
    Result<qint64> written = Error::failed({});
    {
        BusyCursor busy;
        written = exchange::exportBooks(m_catalogue, *path);
    }
    if (!written) {
        m_prompter.inform(u"The books could not be exported. %1"_s.arg(written.error().text()), exportTitle);
        return;
    }
    m_prompter.inform(u"%1 %2 written to %3."_s.arg(*written)
                          .arg(*written == 1 ? u"book was"_s : u"books were"_s)
                          .arg(QDir::toNativeSeparators(*path)),
                      exportTitle);
}

void frmBookList::importBooks()
{
    if (refuseWhenReadOnly() || !settleUnsavedChanges())
        return;
    const auto path = m_exchangeDialogs->importFileName(this);
    if (!path)
        return;
    const std::optional<exchange::ImportPlan> plan = planFileImport(*path);
    if (!plan)
        return;
    if (plan->books.empty()) {
        m_prompter.inform(u"No book of the file %1 can be imported; nothing has been changed.\n\n%2"_s.arg(
                              QDir::toNativeSeparators(*path), exchange::problemLines(*plan).join(u'\n')),
                          importTitle);
        return;
    }
    const std::optional<bool> withBooksOnFile = m_exchangeDialogs->confirmImport(*plan, this);
    if (withBooksOnFile)
        addImportedBooks(*plan, *withBooksOnFile);
}

// Reads the file and works out what it would add; nothing when the file
// cannot be imported (the user has been told why) or the user cancels.
std::optional<exchange::ImportPlan> frmBookList::planFileImport(const QString& path)
{
    Result<exchange::ImportSource> source = Error::failed({});
    {
        BusyCursor busy;
        source = exchange::readImportFile(path);
    }
    if (!source) {
        m_prompter.inform(u"The file %1 cannot be imported. %2\n\nNothing has been changed."_s.arg(
                              QDir::toNativeSeparators(path), source.error().text()),
                          importTitle);
        return std::nullopt;
    }
    if (source->kind == exchange::FileKind::Table && !m_exchangeDialogs->chooseColumns(&*source, this))
        return std::nullopt;
    exchange::ImportPlan plan;
    Status marked;
    {
        BusyCursor busy;
        plan = exchange::planImport(*source);
        marked = exchange::markBooksOnFile(&plan, m_catalogue);
    }
    if (!marked) {
        reportFailure(u"The books on file could not be read. Nothing has been imported."_s, marked.error());
        return std::nullopt;
    }
    return plan;
}

void frmBookList::addImportedBooks(const exchange::ImportPlan& plan, bool withBooksOnFile)
{
    const std::vector<Book> books = plan.booksToAdd(withBooksOnFile);
    Result<ImportOutcome> outcome = Error::failed({});
    {
        const auto progress = m_exchangeDialogs->showProgress(qint64(books.size()), this);
        outcome = m_catalogue.importBooks(books, [&](qint64 added) { return progress->advance(added); });
    }
    if (!outcome) {
        reportFailure(u"The books could not be imported. Nothing has been changed."_s, outcome.error());
        return;
    }
    if (outcome->cancelled) {
        m_prompter.inform(u"The import was cancelled. Nothing has been changed."_s, importTitle);
        return;
    }
    m_finder->catalogueChanged();
    ClearBookFields();
    RebuildTree();
    findAfterChange();
    m_prompter.inform(
        u"%1 imported; %2 created."_s.arg(
            outcome->booksAdded == 1 ? u"1 book was"_s : u"%1 books were"_s.arg(outcome->booksAdded),
            outcome->categoriesCreated == 1 ? u"1 new category was"_s
                                            : u"%1 new categories were"_s.arg(outcome->categoriesCreated)),
        importTitle);
}

} // namespace shelvio
