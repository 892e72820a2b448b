#include "reportvalues.h"

#include "nameforms.h"
#include "numbers.h"
#include "textfold.h"

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

const QString noAuthorHeading = u"Without an author"_s;

} // namespace

QString authorText(const QString& lastName, const QString& firstName)
{
    if (lastName.isEmpty())
        return firstName;
    if (firstName.isEmpty())
        return lastName;
    return lastName + u", "_s + firstName;
}

QString costText(std::optional<qint64> costUnits, const QLocale& locale)
{
    if (!costUnits)
        return {};
    // Cents as money usually reads; the third and fourth decimals only when
    // they hold something.
    const int precision = *costUnits % 100 != 0 ? 4 : 2;
    return locale.toCurrencyString(amountFromCostUnits(*costUnits), QString(), precision);
}

QString pagesText(std::optional<qint64> pages, const QLocale& locale)
{
    return pages ? locale.toString(*pages) : QString();
}

QString yearText(std::optional<qint64> year)
{
    return year ? QString::number(*year) : QString();
}

QString dateReadText(const QString& stored)
{
    for (QChar c : stored) {
        if (c != u'/' && c != u' ')
            return stored;
    }
    return {};
}

QString fieldText(Field field, const Book& book, const QLocale& locale)
{
    switch (field) {
    case Field::SortTitle:
        return book.sortTitle;
    case Field::Author:
        return authorText(book.author, book.firstName);
    case Field::Year:
        return yearText(book.yearPublished);
    case Field::Pages:
        return pagesText(book.pages, locale);
    case Field::Rating:
        return ratingText(book.rating);
    case Field::Cost:
        return costText(book.costUnits, locale);
    case Field::DateRead:
        return dateReadText(book.dateRead);
    case Field::HaveReadPicture:
        break;
    }
    return {};
}

QString fieldHeading(Field field)
{
    switch (field) {
    case Field::SortTitle:
        return u"Title"_s;
    case Field::Author:
        return u"Author"_s;
    case Field::Year:
        return u"Year"_s;
    case Field::Pages:
        return u"Pages"_s;
    case Field::Rating:
        return u"Rating"_s;
    case Field::Cost:
        return u"Cost"_s;
    case Field::DateRead:
        return u"Date Read"_s;
    case Field::HaveReadPicture:
        return u"Read"_s;
    }
    return {};
}

bool flagValue(Flag flag, const Book& book)
{
    switch (flag) {
    case Flag::ReadBook:
        return book.readBook;
    case Flag::WantToRead:
        return book.wantToRead;
    case Flag::WantToBuy:
        return book.wantToBuy;
    case Flag::OwnBook:
        return book.ownBook;
    }
    return false;
}

QString initialOf(const QString& text)
{
    const QString key = sortKey(text);
    if (key.isEmpty())
        return {};
    // A surrogate pair is one character.
    const int length = key.at(0).isHighSurrogate() && key.size() > 1 ? 2 : 1;
    const QString initial = key.left(length);
    // A capital that orders as another initial ("I" for the dotless "ı",
    // which sorts after "z") would head two groups apart: such an initial
    // heads its group as it is.
    const QString capital = initial.toUpper();
    return sortKey(capital) == initial ? capital : initial;
}

GroupKey groupKey(Grouping grouping, int level, const Book& book)
{
    const bool noAuthor = book.author.isEmpty() && book.firstName.isEmpty();
    switch (grouping) {
    case Grouping::None:
        break;
    case Grouping::AuthorLetterThenAuthor:
        if (level == 0) {
            if (noAuthor)
                return {u"\u0001"_s, noAuthorHeading};
            const QString initial = initialOf(filedAuthorName(book));
            return {initial, initial};
        }
        // The outer heading already says "without an author".
        return {book.author + u'\u0001' + book.firstName,
                noAuthor ? QString() : authorText(book.author, book.firstName)};
    case Grouping::Author:
        return {book.author + u'\u0001' + book.firstName,
                noAuthor ? noAuthorHeading : authorText(book.author, book.firstName)};
    case Grouping::TitleLetter: {
        const QString initial = initialOf(book.sortTitle);
        return {initial, initial.isEmpty() ? u"Without a title"_s : initial};
    }
    case Grouping::ReadYear: {
        const ReadDate date = parseReadDate(book.dateRead);
        if (!date.year)
            return {QString(), u"Date read not known"_s};
        return {QString::number(*date.year), QString::number(*date.year)};
    }
    case Grouping::Rating: {
        const QString text = ratingText(book.rating);
        return {text, text.isEmpty() ? u"Not rated"_s : text};
    }
    }
    return {};
}

} // namespace shelvio::reports
