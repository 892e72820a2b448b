#include "bookcsv.h"

#include "catalogue.h"
#include "nameforms.h"
#include "numbers.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

enum BookCsvColumn {
    Title,
    FirstName,
    LastName,
    YearPublished,
    Pages,
    Cost,
    DateRead,
    Rating,
    HaveRead,
    WantToRead,
    WantToBuy,
    Own,
    Comments,
    Categories,
    BookNumber,
    ColumnCount
};

QString numberText(const std::optional<qint64>& number)
{
    return number ? QString::number(*number) : QString();
}

QString flagText(bool flag)
{
    return flag ? u"Yes"_s : u"No"_s;
}

// Flushes what was gathered to the file in pieces of this size.
constexpr qsizetype writeChunk = 1 << 20;

Status writeText(QSaveFile& file, QString& text)
{
    const QByteArray bytes = text.toUtf8();
    text.clear();
    if (file.write(bytes) != bytes.size())
        return Error::failed(file.errorString());
    return {};
}

} // namespace

const QStringList& bookCsvHeader()
{
    static const QStringList header{u"Title"_s,
                                    u"Author First Name"_s,
                                    u"Author Last Name"_s,
                                    u"Year Published"_s,
                                    u"Pages"_s,
                                    u"Cost"_s,
                                    u"Date Read"_s,
                                    u"Rating"_s,
                                    u"Have Read"_s,
                                    u"Want to Read"_s,
                                    u"Want to Buy"_s,
                                    u"Own"_s,
                                    u"Comments"_s,
                                    u"Categories"_s,
                                    u"Book Number"_s};
    return header;
}

QStringList bookCsvFields(const Book& book)
{
    QStringList fields(ColumnCount);
    fields[Title] = book.title;
    fields[FirstName] = book.firstName;
    fields[LastName] = book.author;
    fields[YearPublished] = numberText(book.yearPublished);
    fields[Pages] = numberText(book.pages);
    fields[Cost] = book.costUnits ? formatCost(*book.costUnits, QLocale::c()) : QString();
    fields[DateRead] = book.dateRead;
    fields[Rating] = ratingText(book.rating);
    fields[HaveRead] = flagText(book.readBook);
    fields[WantToRead] = flagText(book.wantToRead);
    fields[WantToBuy] = flagText(book.wantToBuy);
    fields[Own] = flagText(book.ownBook);
    fields[Comments] = book.comments;
    fields[Categories] = joinCategories(book.categories);
    fields[BookNumber] = numberText(book.id);
    return fields;
}

ImportRecord recordFromBookCsv(const CsvRecord& row)
{
    const auto field = [&](BookCsvColumn column) {
        return row.fields.value(column);
    };
    ImportRecord record;
    record.line = row.line;
    record.title = field(Title);
    record.firstName = field(FirstName);
    record.lastName = field(LastName);
    record.yearPublished = field(YearPublished);
    record.pages = field(Pages);
    record.cost = field(Cost);
    record.dateRead = field(DateRead);
    if (const auto rating = ratingFromText(field(Rating)))
        record.rating = *rating;
    else
        record.notes << u"the rating \"%1\" is not one of the rating boxes; the book is stored without "
                        u"one."_s.arg(field(Rating));
    const struct {
        BookCsvColumn column;
        std::optional<bool>* flag;
    } flags[] = {{HaveRead, &record.readBook},
                 {WantToRead, &record.wantToRead},
                 {WantToBuy, &record.wantToBuy},
                 {Own, &record.ownBook}};
    for (const auto& [column, flag] : flags) {
        *flag = flagFromText(field(column));
        if (!*flag && !field(column).isEmpty())
            record.notes << u"\"%1\" under %2 is neither Yes nor No; it is taken as No."_s.arg(
                field(column), bookCsvHeader()[column]);
    }
    record.comments = field(Comments);
    record.categories = splitCategories(field(Categories));
    return record;
}

Result<qint64> exportBooks(Catalogue& catalogue, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Error::failed(
            u"The file %1 cannot be written: %2."_s.arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    QString text = csvLine(bookCsvHeader());
    Status written;
    qint64 count = 0;
    const Status read = catalogue.forEachBook([&](const Book& book) {
        if (!written)
            return;
        appendCsvLine(&text, bookCsvFields(book));
        ++count;
        if (text.size() >= writeChunk)
            written = writeText(file, text);
    });
    if (!read)
        return read.error();
    if (written)
        written = writeText(file, text);
    if (written && !file.commit())
        written = Error::failed(file.errorString());
    if (!written) {
        return Error::failed(u"The file %1 could not be written: %2."_s.arg(QDir::toNativeSeparators(path),
                                                                            written.error().text()));
    }
    return count;
}

} // namespace shelvio::exchange
