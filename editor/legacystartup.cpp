#include "legacystartup.h"

#include "legacyconversion.h"
#include "prompter.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QString counted(qint64 count, const QString& one, const QString& many)
{
    return u"%1 %2"_s.arg(count).arg(count == 1 ? one : many);
}

QString successMessage(const LegacyConversion& result)
{
    QString text = u"The catalogue has been converted: %1, %2 and %3 between books and categories."_s.arg(
        counted(result.books, u"book"_s, u"books"_s),
        counted(result.categories, u"category"_s, u"categories"_s),
        counted(result.links, u"link"_s, u"links"_s));
    // Links whose book or category was deleted come over as they were; the
    // tree never shows them.
    if (result.orphanLinks == 1) {
        text += u"\n\n1 of the links points to a book or category that is no longer on file. It has been "
                u"carried over as it was; the catalogue does not show it."_s;
    } else if (result.orphanLinks > 1) {
        text +=
            u"\n\n%1 of the links point to books or categories that are no longer on file. They have "
            u"been carried over as they were; the catalogue does not show them."_s.arg(result.orphanLinks);
    }
    text += u"\n\nThe original file has been kept, unchanged, as:\n%1"_s.arg(
        QDir::toNativeSeparators(result.keptOriginalPath));
    return text;
}

} // namespace

QString notACatalogueMessage(const QString& catalogPath, const QString& why)
{
    return u"The file %1 is not a Tomarium catalogue. %2\n\nThe file has been left as it is. Tomarium will "
           u"close."_s.arg(QDir::toNativeSeparators(catalogPath), why);
}

bool offerLegacyConversion(const QString& catalogPath, Prompter& prompter)
{
    const QString path = QDir::toNativeSeparators(catalogPath);
    if (Status catalogue = checkJetCatalogue(catalogPath); !catalogue) {
        prompter.inform(notACatalogueMessage(catalogPath, catalogue.error().text()), u"Tomarium"_s);
        return false;
    }
    const auto answer = prompter.ask(
        u"The catalogue %1 is in the format of an older program.\n\nConvert it now? The converted catalogue "
        u"takes its place, and the original file is kept, unchanged, next to it.\n\nIf you choose No, "
        u"Tomarium closes and the file is left as it is."_s.arg(path),
        u"Convert Catalogue"_s, Prompter::Buttons::YesNo, Prompter::Answer::Yes);
    if (answer != Prompter::Answer::Yes)
        return false;
    const Result<LegacyConversion> result = migrateJetCatalogue(catalogPath);
    if (!result) {
        prompter.inform(u"The catalogue %1 could not be converted. %2\n\nThe file has been left as it is. "
                        u"Tomarium will close."_s.arg(path, result.error().text()),
                        u"Conversion Failed"_s);
        return false;
    }
    prompter.inform(successMessage(*result), u"Catalogue Converted"_s);
    return true;
}

} // namespace shelvio
