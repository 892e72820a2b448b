#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

#include <optional>

// Numbers typed into the edit area (year, pages, cost).
//
// Blanks around the text are ignored. The text is read first as a number of
// the user's locale (its decimal and group separators), then in plain C form:
// "1.500" is 1500 in a German locale, "12.5" is 12.5 everywhere. Year and
// pages are whole numbers: a fraction is rounded to the nearest whole number,
// halves to even. A cost may carry a currency sign ($, €, £ or the locale's)
// before or after the amount and is rounded to four decimals, halves to even;
// it is held as a count of ten-thousandths. Text that is not a number
// ("circa 1900", empty) is stored as null without a message. A number the
// column cannot hold is refused so the caller can name the field.
namespace shelvio {

struct ParsedNumber {
    enum Kind { Null, Value, OutOfRange };
    Kind kind = Null;
    qint64 value = 0;
};

// Long Integer
inline constexpr qint64 minWholeNumber = -2147483648LL;
inline constexpr qint64 maxWholeNumber = 2147483647;
inline constexpr int costDecimals = 4;
inline constexpr qint64 costUnitsPerAmount = 10000; // ten-thousandths
// The Cost column keeps an amount as a double, which holds every amount of
// four decimals exactly only below 2^39 (549,755,813,888): beyond it the step
// between two doubles is wider than a ten-thousandth. A typed cost must lie
// within that range either way; a stored one is read whatever it is.
inline constexpr qint64 maxCostUnits = (qint64(1) << 39) * costUnitsPerAmount - 1;

ParsedNumber parseWholeNumber(const QString& typed, const QLocale& locale = QLocale());
ParsedNumber parseCost(const QString& typed, const QLocale& locale = QLocale());

// A cost in plain decimal form with the locale's decimal separator, no
// grouping and no trailing zeros: "12.5", "1234.5678", "12".
QString formatCost(qint64 units, const QLocale& locale = QLocale());

// A stored whole number or cost as read from the catalogue: nothing for Null
// (or a value that is not a number at all).
std::optional<qint64> storedNumber(const QVariant& value);
std::optional<qint64> storedCostUnits(const QVariant& value);
// A stored Yes/No value as SQLite's "<> 0" sees it: Null and zero are No;
// any other number, and any text, is Yes.
bool storedFlag(const QVariant& value);

// Between the stored REAL amount and ten-thousandths.
qint64 costUnitsFromAmount(double amount);
double amountFromCostUnits(qint64 units);

} // namespace shelvio
