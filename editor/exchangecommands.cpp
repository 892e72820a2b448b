#include "exchangecommands.h"

#include "bookcsv.h"
#include "catalogue.h"
#include "importfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Opens the catalogue for the command; false when it cannot be used (the
// reason has been printed).
bool openCatalogue(Catalogue& catalogue, const QString& path, bool forWriting, QTextStream& err)
{
    if (!forWriting && !QFileInfo::exists(path)) {
        err << u"tomarium: there is no catalogue %1.\n"_s.arg(native(path));
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    switch (catalogue.open(path, forWriting ? Access::ReadWrite : Access::ReadOnly)) {
    case Catalogue::OpenStatus::Opened:
    case Catalogue::OpenStatus::Created:
        return true;
    case Catalogue::OpenStatus::ReadOnly:
        if (!forWriting)
            return true;
        err << u"tomarium: the catalogue %1 can only be read; nothing has been imported.\n"_s.arg(
            native(path));
        return false;
    case Catalogue::OpenStatus::LegacyFormat:
        err << u"tomarium: the catalogue %1 is still in the older program's format. Open it once in the "
               u"editor, which converts it.\n"_s.arg(native(path));
        return false;
    case Catalogue::OpenStatus::NotACatalogue:
    case Catalogue::OpenStatus::Failed:
        break;
    }
    err << u"tomarium: the catalogue %1 cannot be used. %2\n"_s.arg(native(path), catalogue.openProblem());
    return false;
}

void printPlan(const exchange::ImportPlan& plan, QTextStream& out)
{
    out << exchange::planSummary(plan);
    if (!plan.problems.isEmpty())
        out << u"Not read as it stands:\n"_s;
    for (const QString& line : exchange::problemLines(plan))
        out << u"  "_s << line << u'\n';
}

} // namespace

int runExport(const QString& cataloguePath, const QString& file, QTextStream& out, QTextStream& err)
{
    Catalogue catalogue;
    if (!openCatalogue(catalogue, cataloguePath, false, err))
        return 1;
    const Result<qint64> written = exchange::exportBooks(catalogue, file);
    if (!written) {
        err << u"tomarium: the books could not be exported. %1\n"_s.arg(written.error().text());
        return 1;
    }
    out << u"%1 %2 written to %3.\n"_s.arg(*written).arg(*written == 1 ? u"book"_s : u"books"_s,
                                                         native(file));
    return 0;
}

int runImport(const QString& cataloguePath, const QString& file, bool skipDuplicates, QTextStream& out,
              QTextStream& err)
{
    Result<exchange::ImportSource> source = exchange::readImportFile(file);
    if (!source) {
        err << u"tomarium: the file %1 cannot be imported. %2 Nothing has been changed.\n"_s.arg(
            native(file), source.error().text());
        return 1;
    }
    if (source->kind == exchange::FileKind::Table && !source->mapping.contains(exchange::Column::Title)) {
        err << u"tomarium: no column of %1 could be taken for the titles. Name one \"Title\", or import the "
               u"file in the editor, which lets you choose the columns. Nothing has been changed.\n"_s.arg(
                   native(file));
        return 1;
    }
    Catalogue catalogue;
    if (!openCatalogue(catalogue, cataloguePath, true, err))
        return 1;
    exchange::ImportPlan plan = exchange::planImport(*source);
    if (Status marked = exchange::markBooksOnFile(&plan, catalogue); !marked) {
        err << u"tomarium: the books on file could not be read. %1\n"_s.arg(marked.error().text());
        return 1;
    }
    printPlan(plan, out);
    if (plan.books.empty()) {
        err << u"tomarium: no row of %1 makes a book; nothing has been imported.\n"_s.arg(native(file));
        return 1;
    }
    const std::vector<Book> books = plan.booksToAdd(!skipDuplicates);
    const Result<ImportOutcome> outcome = catalogue.importBooks(books);
    if (!outcome) {
        err << u"tomarium: the books could not be imported. %1 Nothing has been changed.\n"_s.arg(
            outcome.error().text());
        return 1;
    }
    if (skipDuplicates && plan.onFileCount() > 0)
        out << u"The books that look like books on file were skipped.\n"_s;
    const QString added = outcome->booksAdded == 1 ? u"1 book"_s : u"%1 books"_s.arg(outcome->booksAdded);
    const QString categories = outcome->categoriesCreated == 1
                                   ? u"1 new category"_s
                                   : u"%1 new categories"_s.arg(outcome->categoriesCreated);
    out << u"%1 imported; %2 created.\n"_s.arg(added, categories);
    return 0;
}

} // namespace shelvio
