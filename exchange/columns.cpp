#include "columns.h"

#include "nameforms.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

// A header name as its letters and digits, lower case.
QString nameWords(const QString& name)
{
    QString words;
    for (QChar c : name) {
        if (c.isLetterOrNumber())
            words += c.toLower();
    }
    return words;
}

const QHash<QString, Column>& knownNames()
{
    static const QHash<QString, Column> names = [] {
        const QList<std::pair<Column, QStringList>> synonyms{
            {Column::Title, {u"title"_s, u"booktitle"_s}},
            {Column::LastName, {u"authorlastname"_s, u"lastname"_s, u"surname"_s, u"familyname"_s}},
            {Column::FirstName, {u"authorfirstname"_s, u"firstname"_s, u"givenname"_s, u"forename"_s}},
            {Column::Author, {u"author"_s, u"authors"_s, u"authorlf"_s, u"writer"_s, u"by"_s}},
            {Column::YearPublished,
             {u"yearpublished"_s, u"year"_s, u"published"_s, u"publicationyear"_s, u"pubyear"_s,
              u"originalpublicationyear"_s}},
            {Column::Pages, {u"pages"_s, u"numberofpages"_s, u"pagecount"_s, u"numpages"_s}},
            {Column::Cost, {u"cost"_s, u"price"_s, u"purchaseprice"_s, u"paid"_s}},
            {Column::DateRead, {u"dateread"_s, u"readdate"_s, u"datefinished"_s, u"finished"_s}},
            {Column::Rating, {u"rating"_s, u"myrating"_s, u"stars"_s}},
            {Column::HaveRead, {u"haveread"_s, u"read"_s, u"havereadbook"_s}},
            {Column::WantToRead, {u"wanttoread"_s, u"toread"_s, u"wanttoreadbook"_s}},
            {Column::WantToBuy, {u"wanttobuy"_s, u"tobuy"_s, u"wishlist"_s, u"wanttobuythisbook"_s}},
            {Column::Own, {u"own"_s, u"owned"_s, u"ownbook"_s, u"ownthebook"_s}},
            {Column::Comments,
             {u"comments"_s, u"comment"_s, u"notes"_s, u"note"_s, u"review"_s, u"myreview"_s}},
            {Column::Categories,
             {u"categories"_s, u"category"_s, u"tags"_s, u"tag"_s, u"genre"_s, u"genres"_s, u"shelves"_s,
              u"bookshelves"_s, u"shelf"_s, u"keywords"_s, u"subjects"_s}},
        };
        QHash<QString, Column> byName;
        for (const auto& [column, words] : synonyms) {
            for (const QString& word : words)
                byName.insert(word, column);
        }
        return byName;
    }();
    return names;
}

void readFlag(const QString& text, const QString& columnName, std::optional<bool>* flag, ImportRecord* record)
{
    *flag = flagFromText(text);
    if (!*flag && !text.trimmed().isEmpty())
        record->notes << u"\"%1\" under %2 is neither yes nor no; it is taken as no."_s.arg(text, columnName);
}

void readRating(const QString& text, ImportRecord* record)
{
    if (const auto words = ratingFromText(text))
        record->rating = *words;
    else if (const auto stars = ratingFromStars(text))
        record->rating = *stars;
    else
        record->notes << u"the rating \"%1\" is neither a rating box's words nor 0 to 5 stars; the book is "
                         u"stored without one."_s.arg(text);
}

QString readDate(const QString& text)
{
    const QString date = text.trimmed();
    if (date.isEmpty())
        return readDateText({}, {}, {});
    return readDateFromYearFirst(date).value_or(date);
}

} // namespace

const QList<Column>& columnChoices()
{
    static const QList<Column> choices{
        Column::Ignore,    Column::Title,         Column::LastName, Column::FirstName,
        Column::Author,    Column::YearPublished, Column::Pages,    Column::Cost,
        Column::DateRead,  Column::Rating,        Column::HaveRead, Column::WantToRead,
        Column::WantToBuy, Column::Own,           Column::Comments, Column::Categories};
    return choices;
}

QString columnLabel(Column column)
{
    switch (column) {
    case Column::Ignore:
        return u"(not imported)"_s;
    case Column::Title:
        return u"Title"_s;
    case Column::LastName:
        return u"Author Last Name"_s;
    case Column::FirstName:
        return u"Author First Name"_s;
    case Column::Author:
        return u"Author (whole name)"_s;
    case Column::YearPublished:
        return u"Year Published"_s;
    case Column::Pages:
        return u"Pages"_s;
    case Column::Cost:
        return u"Cost"_s;
    case Column::DateRead:
        return u"Date Read"_s;
    case Column::Rating:
        return u"Rating"_s;
    case Column::HaveRead:
        return u"Have Read"_s;
    case Column::WantToRead:
        return u"Want to Read"_s;
    case Column::WantToBuy:
        return u"Want to Buy"_s;
    case Column::Own:
        return u"Own"_s;
    case Column::Comments:
        return u"Comments"_s;
    case Column::Categories:
        return u"Categories"_s;
    }
    return {};
}

Column guessColumn(const QString& name)
{
    return knownNames().value(nameWords(name), Column::Ignore);
}

QList<Column> guessMapping(const QStringList& header)
{
    QList<Column> mapping;
    for (const QString& name : header) {
        const Column column = guessColumn(name);
        mapping << (mapping.contains(column) ? Column::Ignore : column);
    }
    return mapping;
}

ImportRecord recordFromMappedRow(const QList<Column>& mapping, const CsvRecord& row)
{
    ImportRecord record;
    record.line = row.line;
    std::optional<PersonName> splitName;
    for (qsizetype i = 0; i < mapping.size(); ++i) {
        const QString text = row.fields.value(i);
        const QString trimmed = text.trimmed();
        switch (mapping[i]) {
        case Column::Ignore:
            break;
        case Column::Title:
            record.title = trimmed;
            break;
        case Column::LastName:
            record.lastName = trimmed;
            break;
        case Column::FirstName:
            record.firstName = trimmed;
            break;
        case Column::Author:
            splitName = splitAuthorName(trimmed);
            break;
        case Column::YearPublished:
            record.yearPublished = trimmed;
            break;
        case Column::Pages:
            record.pages = trimmed;
            break;
        case Column::Cost:
            record.cost = trimmed;
            break;
        case Column::DateRead:
            record.dateRead = readDate(text);
            break;
        case Column::Rating:
            readRating(text, &record);
            break;
        case Column::HaveRead:
            readFlag(text, columnLabel(Column::HaveRead), &record.readBook, &record);
            break;
        case Column::WantToRead:
            readFlag(text, columnLabel(Column::WantToRead), &record.wantToRead, &record);
            break;
        case Column::WantToBuy:
            readFlag(text, columnLabel(Column::WantToBuy), &record.wantToBuy, &record);
            break;
        case Column::Own:
            readFlag(text, columnLabel(Column::Own), &record.ownBook, &record);
            break;
        case Column::Comments:
            record.comments = text;
            break;
        case Column::Categories:
            record.categories = splitCategories(text, text.contains(u';') ? u';' : u',');
            break;
        }
    }
    // Separate name columns win over a whole name.
    if (splitName && !mapping.contains(Column::LastName))
        record.lastName = splitName->last;
    if (splitName && !mapping.contains(Column::FirstName))
        record.firstName = splitName->first;
    if (row.fields.size() > mapping.size())
        record.notes << u"the row has %1 fields but the header names %2; the others are not read."_s
                            .arg(row.fields.size())
                            .arg(mapping.size());
    return record;
}

} // namespace shelvio::exchange
