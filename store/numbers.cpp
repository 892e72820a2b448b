#include "numbers.h"

#include <cmath>
#include <limits>
#include <optional>

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// The marks that set the direction of the text around a number: Arabic
// locales write one before the minus sign (ar_EG: U+061C), and Qt does not
// read its own output with it. They carry nothing of the number's value.
QString withoutDirectionMarks(QString text)
{
    text.remove(QChar(0x061C));
    text.remove(QChar(0x200E));
    text.remove(QChar(0x200F));
    return text;
}

std::optional<double> readNumber(const QString& typed, const QLocale& locale)
{
    const QString text = withoutDirectionMarks(typed);
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    if (!ok || std::isnan(value))
        return std::nullopt;
    return value;
}

// value * 10^decimals rounded to the nearest whole number, halves to even,
// or nothing when the result lies outside [minimum, maximum]. The rounding
// works on the shortest decimal text of the value, so that a typed 0.00015
// (which binary floating point holds as a hair less) rounds as the decimal it
// was typed as.
std::optional<qint64> roundDecimal(double value, int decimals, qint64 minimum, qint64 maximum)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    const QString kept = whole + fraction.left(decimals).leftJustified(decimals, u'0');
    const QString dropped = fraction.mid(decimals);
    if (kept.size() > 19)
        return std::nullopt;
    bool ok = false;
    quint64 units = kept.toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (!dropped.isEmpty()) {
        const QChar first = dropped.at(0);
        const bool moreAfter = dropped.mid(1).contains(QRegularExpression(u"[1-9]"_s));
        if (first > u'5' || (first == u'5' && (moreAfter || units % 2 == 1)))
            ++units;
    }
    // The magnitude is checked against the bound of its sign before it
    // becomes signed, so that no step overflows. Both bounds enclose zero.
    const bool negative = value < 0;
    const quint64 bound = negative ? 0 - quint64(minimum) : quint64(maximum);
    if (units > bound)
        return std::nullopt;
    return negative ? qint64(0 - units) : qint64(units);
}

QString withoutCurrencySign(QString text, const QLocale& locale)
{
    const QString signs[] = {u"$"_s, u"€"_s, u"£"_s, locale.currencySymbol(QLocale::CurrencySymbol),
                             locale.currencySymbol(QLocale::CurrencyIsoCode)};
    for (const QString& sign : signs) {
        if (sign.isEmpty())
            continue;
        if (text.startsWith(sign))
            return text.mid(sign.size()).trimmed();
        if (text.endsWith(sign))
            return text.left(text.size() - sign.size()).trimmed();
    }
    return text;
}

ParsedNumber parseWithin(const QString& text, const QLocale& locale, int decimals, qint64 minimum,
                         qint64 maximum)
{
    const auto number = readNumber(text, locale);
    if (!number)
        return {};
    const auto value = roundDecimal(*number, decimals, minimum, maximum);
    if (!value)
        return {ParsedNumber::OutOfRange, 0};
    return {ParsedNumber::Value, *value};
}

} // namespace

ParsedNumber parseWholeNumber(const QString& typed, const QLocale& locale)
{
    return parseWithin(typed.trimmed(), locale, 0, minWholeNumber, maxWholeNumber);
}

ParsedNumber parseCost(const QString& typed, const QLocale& locale)
{
    const QString text = withoutCurrencySign(typed.trimmed(), locale);
    return parseWithin(text, locale, costDecimals, -maxCostUnits, maxCostUnits);
}

QString formatCost(qint64 units, const QLocale& locale)
{
    const bool negative = units < 0;
    // Work in unsigned so that the smallest qint64 has a magnitude too.
    const quint64 magnitude = negative ? 0 - quint64(units) : quint64(units);
    QString text = QString::number(magnitude / quint64(costUnitsPerAmount));
    QString fraction = QString::number(magnitude % quint64(costUnitsPerAmount)).rightJustified(4, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += locale.decimalPoint() + fraction;
    return negative ? u'-' + text : text;
}

std::optional<qint64> storedNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<qint64> storedCostUnits(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double amount = value.toDouble(&ok);
    return ok ? std::optional<qint64>(costUnitsFromAmount(amount)) : std::nullopt;
}

bool storedFlag(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString)
        return true;
    return value.toDouble() != 0.0;
}

qint64 costUnitsFromAmount(double amount)
{
    return roundDecimal(amount, costDecimals, -std::numeric_limits<qint64>::max(),
                        std::numeric_limits<qint64>::max())
        .value_or(0);
}

double amountFromCostUnits(qint64 units)
{
    return double(units) / double(costUnitsPerAmount);
}

} // namespace shelvio
