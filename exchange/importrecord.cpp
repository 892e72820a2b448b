#include "importrecord.h"

#include "catalogue.h"
#include "nameforms.h"
#include "numbers.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

// Reads one number of a record into `target`; what cannot be stored is
// listed and left empty.
void readNumber(const QString& text, const ParsedNumber& parsed, const QString& field,
                std::optional<qint64>* target, const ImportRecord& record, QList<RowProblem>* problems)
{
    switch (parsed.kind) {
    case ParsedNumber::Value:
        *target = parsed.value;
        return;
    case ParsedNumber::OutOfRange:
        *problems << RowProblem{
            record.line, u"the %1 \"%2\" is too large a number; it is stored empty."_s.arg(field, text)};
        return;
    case ParsedNumber::Null:
        if (!text.trimmed().isEmpty()) {
            *problems << RowProblem{record.line,
                                    u"the %1 \"%2\" is not a number; it is stored empty."_s.arg(field, text)};
        }
        return;
    }
}

QStringList usableCategories(const ImportRecord& record, QList<RowProblem>* problems)
{
    QStringList names;
    for (const QString& name : record.categories) {
        if (trimBlanks(name).isEmpty())
            continue;
        if (name.size() > categoryNameWidth) {
            *problems << RowProblem{record.line, u"the category \"%1\" has more than %2 characters; it is "
                                                 u"left out."_s.arg(name)
                                                     .arg(categoryNameWidth)};
            continue;
        }
        names << name;
    }
    return names;
}

bool hasReadDate(const QString& dateRead)
{
    return !QString(dateRead).remove(u'/').trimmed().isEmpty();
}

} // namespace

std::optional<Book> bookFromRecord(const ImportRecord& record, const QLocale& numbers,
                                   QList<RowProblem>* problems)
{
    if (trimBlanks(record.title).isEmpty()) {
        *problems << RowProblem{record.line, u"there is no title; the row is left out."_s, true};
        return std::nullopt;
    }
    for (const QString& note : record.notes)
        *problems << RowProblem{record.line, note};
    Book book;
    book.title = record.title;
    book.author = record.lastName;
    book.firstName = record.firstName;
    readNumber(record.yearPublished, parseWholeNumber(record.yearPublished, numbers), u"year published"_s,
               &book.yearPublished, record, problems);
    readNumber(record.pages, parseWholeNumber(record.pages, numbers), u"number of pages"_s, &book.pages,
               record, problems);
    readNumber(record.cost, parseCost(record.cost, numbers), u"cost"_s, &book.costUnits, record, problems);
    book.dateRead = record.dateRead;
    book.comments = record.comments;
    book.rating = record.rating;
    book.readBook = record.readBook.value_or(hasReadDate(record.dateRead));
    book.wantToRead = record.wantToRead.value_or(false);
    book.wantToBuy = record.wantToBuy.value_or(false);
    book.ownBook = record.ownBook.value_or(false);
    book.categories = usableCategories(record, problems);
    return book;
}

std::optional<bool> flagFromText(const QString& text)
{
    static const QStringList yes{u"yes"_s, u"true"_s, u"y"_s, u"x"_s, u"1"_s};
    static const QStringList no{u"no"_s, u"false"_s, u"n"_s, u"0"_s};
    const QString word = text.trimmed().toLower();
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    return std::nullopt;
}

std::optional<qint64> ratingFromStars(const QString& stars)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(stars.trimmed(), &ok);
    if (!ok || value < 0 || value > 5)
        return std::nullopt;
    const double doubled = value * 2;
    if (doubled != std::round(doubled))
        return std::nullopt;
    // Half a star is below the scale's lowest grade.
    return doubled == 1 ? std::optional<qint64>() : qint64(doubled);
}

std::optional<QString> readDateFromYearFirst(const QString& date)
{
    static const QRegularExpression yearFirst(u"^\\s*(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[T ].*)?$"_s);
    const QRegularExpressionMatch match = yearFirst.match(date);
    if (!match.hasMatch())
        return std::nullopt;
    const auto part = [&](int n) {
        return QString::number(match.captured(n).toInt());
    };
    return readDateText(part(2), part(3), match.captured(1));
}

PersonName splitAuthorName(const QString& name)
{
    static const QRegularExpression severalAuthors(u"\\s+&\\s+|;"_s);
    const QString first = name.split(severalAuthors).value(0).trimmed();
    const qsizetype comma = first.indexOf(u',');
    if (comma >= 0)
        return {first.left(comma).trimmed(), first.mid(comma + 1).trimmed()};
    const qsizetype blank = first.lastIndexOf(u' ');
    if (blank < 0)
        return {first, {}};
    return {first.mid(blank + 1), first.left(blank).trimmed()};
}

QString joinCategories(const QStringList& names)
{
    QStringList parts;
    for (const QString& name : names) {
        const bool quote = name.isEmpty() || name.contains(u';') || name.contains(u'"') ||
                           name.startsWith(u' ') || name.endsWith(u' ');
        parts << (quote ? u'"' + QString(name).replace(u"\""_s, u"\"\""_s) + u'"' : name);
    }
    return parts.join(u"; "_s);
}

QStringList splitCategories(const QString& text, QChar separator)
{
    QStringList names;
    QString name;
    bool quoted = false;
    bool wasQuoted = false;
    const auto finish = [&] {
        const QString kept = wasQuoted ? name : name.trimmed();
        if (!kept.isEmpty())
            names << kept;
        name.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
            name += c;
            ++i;
        } else if (c == u'"' && (quoted || name.trimmed().isEmpty())) {
            if (!quoted)
                name.clear(); // blanks before the opening quote
            quoted = !quoted;
            wasQuoted = true;
        } else if (!quoted && c == separator) {
            finish();
        } else if (!quoted && wasQuoted) {
            continue; // blanks after the closing quote
        } else {
            name += c;
        }
    }
    finish();
    return names;
}

} // namespace shelvio::exchange
