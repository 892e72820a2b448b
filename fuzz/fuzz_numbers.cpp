// Year, pages and cost as typed into the edit area, in locales that write
// numbers differently: what is accepted lies in its column's range, and a
// number written out in the locale reads back as the same number.
#include "fuzzinput.h"
#include "numbers.h"

#include <QLocale>

#include <array>

using namespace Qt::StringLiterals;
using shelvio::ParsedNumber;
using shelvio::fuzzing::FuzzInput;
using shelvio::fuzzing::require;
using shelvio::fuzzing::shown;

namespace {

const std::array<QLocale, 7>& locales()
{
    static const std::array<QLocale, 7> all{QLocale::c(),        QLocale(u"en_US"_s), QLocale(u"de_DE"_s),
                                            QLocale(u"fr_FR"_s), QLocale(u"de_CH"_s), QLocale(u"ar_EG"_s),
                                            QLocale(u"hi_IN"_s)};
    return all;
}

QString numberAlphabet(const QLocale& locale)
{
    return u"0123456789 +-eE.,$€£'"_s + locale.decimalPoint() + locale.groupSeparator() +
           locale.negativeSign() + locale.zeroDigit() + locale.currencySymbol() +
           u"\u00a0\u202f\u066b\u066c"_s;
}

QString context(const QString& text, const QLocale& locale)
{
    return locale.name() + u": "_s + shown(text);
}

void checkWhole(const QString& typed, const QLocale& locale)
{
    const ParsedNumber parsed = shelvio::parseWholeNumber(typed, locale);
    if (parsed.kind != ParsedNumber::Value)
        return;
    require(parsed.value >= shelvio::minWholeNumber && parsed.value <= shelvio::maxWholeNumber,
            "a whole number within Long Integer", context(typed, locale));
    // What was accepted reads the same written in plain digits and in the
    // locale's own form, grouping included.
    for (const QString& written : {QString::number(parsed.value), locale.toString(parsed.value)}) {
        const ParsedNumber again = shelvio::parseWholeNumber(written, locale);
        require(again.kind == ParsedNumber::Value && again.value == parsed.value,
                "a whole number reads back from its own text",
                context(typed, locale) + u" -> "_s + shown(written));
    }
}

void checkCostUnits(qint64 units, const QLocale& locale)
{
    const QString written = shelvio::formatCost(units, locale);
    const ParsedNumber again = shelvio::parseCost(written, locale);
    require(again.kind == ParsedNumber::Value && again.value == units, "a cost reads back from its own text",
            QString::number(units) + u" -> "_s + context(written, locale) + u" -> "_s +
                QString::number(again.value));
    require(shelvio::costUnitsFromAmount(shelvio::amountFromCostUnits(units)) == units,
            "a cost comes back whole from the stored amount", QString::number(units));
}

void checkCost(const QString& typed, const QLocale& locale)
{
    const ParsedNumber parsed = shelvio::parseCost(typed, locale);
    if (parsed.kind != ParsedNumber::Value)
        return;
    require(parsed.value >= -shelvio::maxCostUnits && parsed.value <= shelvio::maxCostUnits,
            "a cost the column holds exactly", context(typed, locale));
    checkCostUnits(parsed.value, locale);
}

void checkWholeValue(qint64 value, const QLocale& locale)
{
    const ParsedNumber parsed = shelvio::parseWholeNumber(QString::number(value), locale);
    const bool fits = value >= shelvio::minWholeNumber && value <= shelvio::maxWholeNumber;
    require(parsed.kind == (fits ? ParsedNumber::Value : ParsedNumber::OutOfRange), "out of range refused",
            QString::number(value));
    require(!fits || parsed.value == value, "in range kept", QString::number(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const QLocale& locale = locales()[input.index(locales().size())];
    const QString typed = input.flag() ? input.text(32) : input.textOf(numberAlphabet(locale), 32);
    checkWhole(typed, locale);
    checkCost(typed, locale);
    checkWholeValue(input.number(), locale);
    checkCostUnits(input.number() % (shelvio::maxCostUnits + 1), locale);
    return 0;
}
