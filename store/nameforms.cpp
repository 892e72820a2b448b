#include "nameforms.h"

#include <charconv>

using namespace Qt::StringLiterals;

namespace shelvio {

QString sortTitle(const QString& title)
{
    if (title.left(2).toUpper() == u"A "_s)
        return title.mid(2) + u", A"_s;
    if (title.left(3).toUpper() == u"AN "_s)
        return title.mid(3) + u", An"_s;
    if (title.startsWith(u"The "_s))
        return title.mid(4) + u", The "_s;
    return title;
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString authorName(const QString& lastName, const QString& firstName)
{
    const QString name = trimBlanks(lastName) + u", "_s + trimBlanks(firstName);
    if (trimBlanks(name) == u","_s)
        return u"<Null>, <Null>"_s;
    return name;
}

namespace {

// prefix + signed text of number, built in one go: a tree of a million
// books forms a million of these.
QString withSignedNumber(QStringView prefix, qint64 number)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    const qsizetype length = end - digits;
    QString text;
    text.reserve(prefix.size() + 1 + length);
    text.append(prefix);
    if (number >= 0)
        text.append(u' ');
    text.append(QLatin1StringView(digits, length));
    return text;
}

} // namespace

QString signedText(qint64 number)
{
    return withSignedNumber({}, number);
}

QString titleNodeKey(qint64 bookId)
{
    return withSignedNumber(u"T", bookId);
}

QString authorNodeKey(const QString& authorName)
{
    return u'A' + authorName;
}

QString categoryNodeKey(const QString& categoryName)
{
    return u'C' + categoryName;
}

QString categoryBookNodeKey(qint64 rowNumber, qint64 bookId)
{
    QString key = withSignedNumber({}, rowNumber);
    key += withSignedNumber(u"T~", bookId);
    return key;
}

std::optional<qint64> bookIdFromNodeKey(const QString& key, bool categoryOrdering)
{
    // Read in place: the finder reads the key of every node of the tree.
    QStringView number(key);
    if (categoryOrdering) {
        const qsizetype tilde = key.indexOf(u'~');
        if (tilde < 0)
            return std::nullopt;
        number = number.sliced(tilde + 1);
    } else {
        // After the "T": the blank of a number that is not negative, or its
        // minus sign, which must stay.
        number = number.mid(1);
    }
    bool ok = false;
    const qint64 id = number.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return id;
}

QString readDateText(const QString& month, const QString& day, const QString& year)
{
    return month + u'/' + day + u'/' + year;
}

ReadDateParts splitReadDate(const QString& stored)
{
    const qsizetype first = stored.indexOf(u'/');
    if (first < 0)
        return {QString(), QString(), stored};
    const QString month = stored.left(first);
    const QString rest = stored.mid(first + 1);
    const qsizetype second = rest.indexOf(u'/');
    if (second < 0)
        return {month, QString(), rest};
    return {month, rest.left(second), rest.mid(second + 1)};
}

int ratingFromBoxes(const RatingBoxes& ticked)
{
    int rating = 0;
    for (int i = int(ratingBoxValues.size()) - 1; i >= 0; --i) {
        if (!ticked[size_t(i)])
            continue;
        rating = rating == 0 ? ratingBoxValues[size_t(i)] : rating - 1;
    }
    return rating;
}

bool ratingOnScale(std::optional<qint64> rating)
{
    return rating && *rating >= ratingBoxValues.front() && *rating <= ratingBoxValues.back();
}

namespace {

// The words of the five grades, in the order of ratingBoxValues.
const std::array<QString, 5>& gradeWords()
{
    static const std::array<QString, 5> grades{u"Bad"_s, u"Fair"_s, u"Good"_s, u"Very Good"_s,
                                               u"Excellent"_s};
    return grades;
}

const QString betweenGrades = u" – "_s;

} // namespace

QString ratingText(std::optional<qint64> rating)
{
    if (!ratingOnScale(rating))
        return {};
    const auto grade = [](qint64 value) {
        return gradeWords()[size_t(value / 2 - 1)];
    };
    if (*rating % 2 == 0)
        return grade(*rating);
    return grade(*rating - 1) + betweenGrades + grade(*rating + 1);
}

std::optional<qint64> ratingFromText(const QString& words)
{
    QString wanted = words.simplified();
    if (wanted.isEmpty())
        return 0;
    wanted.replace(u" - "_s, betweenGrades);
    for (qint64 value = ratingBoxValues.front(); value <= ratingBoxValues.back(); ++value) {
        if (ratingText(value).compare(wanted, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

RatingBoxes boxesForRating(std::optional<qint64> rating)
{
    RatingBoxes boxes{};
    if (!ratingOnScale(rating))
        return boxes;
    const qint64 value = *rating;
    for (size_t i = 0; i < ratingBoxValues.size(); ++i) {
        const int box = ratingBoxValues[i];
        boxes[i] = value % 2 == 0 ? box == value : (box == value - 1 || box == value + 1);
    }
    return boxes;
}

} // namespace shelvio
