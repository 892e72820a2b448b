#include "sitetables.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

// A row's fields by the names of the header.
class NamedFields {
public:
    explicit NamedFields(const QStringList& header)
    {
        for (qsizetype i = 0; i < header.size(); ++i)
            m_index.insert(header[i].trimmed(), i);
    }

    bool has(const QString& name) const { return m_index.contains(name); }
    QString of(const CsvRecord& row, const QString& name) const
    {
        const auto found = m_index.constFind(name);
        return found == m_index.constEnd() ? QString() : row.fields.value(*found).trimmed();
    }

private:
    QHash<QString, qsizetype> m_index;
};

bool hasAll(const QStringList& header, const QStringList& names)
{
    const NamedFields fields(header);
    return std::all_of(names.begin(), names.end(), [&](const QString& name) { return fields.has(name); });
}

void readStars(const QString& text, ImportRecord* record)
{
    if (text.isEmpty())
        return;
    if (const auto rating = ratingFromStars(text))
        record->rating = *rating;
    else
        record->notes << u"the rating \"%1\" is not 0 to 5 stars; the book is stored without one."_s.arg(
            text);
}

void readYearFirstDate(const QString& text, ImportRecord* record)
{
    if (text.isEmpty())
        return;
    if (const auto date = readDateFromYearFirst(text)) {
        record->dateRead = *date;
    } else {
        record->dateRead = text;
        record->notes << u"the date read \"%1\" is not a date; it is stored as it stands."_s.arg(text);
    }
}

// Goodreads writes line breaks in a review as HTML.
QString reviewText(QString review)
{
    static const QRegularExpression lineBreak(u"<br\\s*/?>"_s, QRegularExpression::CaseInsensitiveOption);
    return review.replace(lineBreak, u"\n"_s);
}

void readShelves(const QStringList& shelves, ImportRecord* record)
{
    for (const QString& shelf : shelves) {
        if (shelf == u"read"_s)
            record->readBook = true;
        else if (shelf == u"to-read"_s)
            record->wantToRead = true;
        else if (!record->categories.contains(shelf))
            record->categories << shelf;
    }
    if (!record->readBook)
        record->readBook = false; // the shelf says so, not a date
}

void readAuthor(const QString& name, ImportRecord* record)
{
    const PersonName split = splitAuthorName(name);
    record->lastName = split.last;
    record->firstName = split.first;
}

} // namespace

bool isGoodreadsExport(const QStringList& header)
{
    return hasAll(header, {u"Title"_s, u"Author"_s, u"My Rating"_s, u"Exclusive Shelf"_s});
}

RowReader goodreadsReader(const QStringList& header)
{
    return [fields = NamedFields(header)](const CsvRecord& row) {
        const auto field = [&](const char16_t* name) {
            return fields.of(row, QString::fromUtf16(name));
        };
        ImportRecord record;
        record.line = row.line;
        record.title = field(u"Title");
        const QString lastFirst = field(u"Author l-f");
        readAuthor(lastFirst.isEmpty() ? field(u"Author") : lastFirst, &record);
        record.yearPublished = field(u"Year Published");
        if (record.yearPublished.isEmpty())
            record.yearPublished = field(u"Original Publication Year");
        record.pages = field(u"Number of Pages");
        const QString stars = field(u"My Rating");
        if (stars != u"0"_s)
            readStars(stars, &record);
        readYearFirstDate(field(u"Date Read"), &record);
        QStringList shelves = field(u"Bookshelves").split(u',', Qt::SkipEmptyParts);
        for (QString& shelf : shelves)
            shelf = shelf.trimmed();
        shelves.prepend(field(u"Exclusive Shelf"));
        shelves.removeAll(QString());
        readShelves(shelves, &record);
        const QString copies = field(u"Owned Copies");
        if (!copies.isEmpty())
            record.ownBook = copies.toInt() > 0;
        record.comments = reviewText(field(u"My Review"));
        return record;
    };
}

bool isCalibreCatalogue(const QStringList& header)
{
    return hasAll(header, {u"title"_s, u"authors"_s, u"author_sort"_s});
}

RowReader calibreReader(const QStringList& header)
{
    return [fields = NamedFields(header)](const CsvRecord& row) {
        const auto field = [&](const char16_t* name) {
            return fields.of(row, QString::fromUtf16(name));
        };
        ImportRecord record;
        record.line = row.line;
        record.title = field(u"title");
        const QString sorted = field(u"author_sort");
        const QString authors = field(u"authors");
        if (authors != u"Unknown"_s)
            readAuthor(sorted.isEmpty() ? authors : sorted, &record);
        const QString published = field(u"pubdate");
        const int year = published.left(4).toInt();
        if (year > 101) // calibre's undefined date is the year 101
            record.yearPublished = QString::number(year);
        readStars(field(u"rating"), &record);
        record.categories = field(u"tags").split(u',', Qt::SkipEmptyParts);
        for (QString& tag : record.categories)
            tag = tag.trimmed();
        if (fields.has(u"formats"_s))
            record.ownBook = !field(u"formats").isEmpty();
        record.comments = field(u"comments");
        return record;
    };
}

} // namespace shelvio::exchange
