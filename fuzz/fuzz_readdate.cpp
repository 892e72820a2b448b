// The read date: split into month, day and year for the edit area, joined
// again on save, and read as a date for the reports' order.
#include "fuzzinput.h"
#include "nameforms.h"
#include "reportdata.h"

#include <QDate>

using namespace Qt::StringLiterals;
using shelvio::fuzzing::FuzzInput;
using shelvio::fuzzing::require;
using shelvio::fuzzing::shown;

namespace {

const QString dateAlphabet = u"0123456789//// -.\u0660\u0661\u0969"_s;

void checkSplit(const QString& stored)
{
    const shelvio::ReadDateParts parts = shelvio::splitReadDate(stored);
    // Split at the first two slashes; whatever has fewer is read as a
    // shorter date, and joining gives the text back once both are there.
    const qsizetype slashes = stored.count(u'/');
    require(!parts.month.contains(u'/') && !parts.day.contains(u'/'), "month and day hold no slash",
            shown(stored));
    if (slashes >= 2) {
        require(shelvio::readDateText(parts.month, parts.day, parts.year) == stored,
                "a split date joins back as it was", shown(stored));
    } else if (slashes == 1) {
        require(parts.month + u'/' + parts.year == stored && parts.day.isEmpty(), "one slash: month and year",
                shown(stored));
    } else {
        require(parts == shelvio::ReadDateParts{QString(), QString(), stored}, "no slash: the year alone",
                shown(stored));
    }
}

void checkJoin(const QString& month, const QString& day, const QString& year)
{
    if (month.contains(u'/') || day.contains(u'/'))
        return;
    const shelvio::ReadDateParts parts{month, day, year};
    const QString joined = shelvio::readDateText(month, day, year);
    require(shelvio::splitReadDate(joined) == parts, "a joined date splits into its parts", shown(joined));
}

void checkParsed(const QString& stored)
{
    const shelvio::ReadDate date = shelvio::parseReadDate(stored);
    require(!date.year || (*date.year >= 0 && *date.year <= 9999), "a year of four digits", shown(stored));
    require(!date.month || (*date.month >= 1 && *date.month <= 12), "a month from 1 to 12", shown(stored));
    if (date.day) {
        require(date.year && date.month && QDate(*date.year, *date.month, *date.day).isValid(),
                "a day only in a real date", shown(stored));
    }
    require(!shelvio::readDateBefore(date, date), "no date comes before itself", shown(stored));
}

// The report order must be a strict weak order, or sorting goes wrong.
void checkOrder(const QString& a, const QString& b, const QString& c)
{
    const auto x = shelvio::parseReadDate(a), y = shelvio::parseReadDate(b), z = shelvio::parseReadDate(c);
    const QString dates = shown(a) + u' ' + shown(b) + u' ' + shown(c);
    require(!(shelvio::readDateBefore(x, y) && shelvio::readDateBefore(y, x)), "order is asymmetric", dates);
    if (shelvio::readDateBefore(x, y) && shelvio::readDateBefore(y, z))
        require(shelvio::readDateBefore(x, z), "order is transitive", dates);
    const auto equivalent = [](const shelvio::ReadDate& p, const shelvio::ReadDate& q) {
        return !shelvio::readDateBefore(p, q) && !shelvio::readDateBefore(q, p);
    };
    if (equivalent(x, y) && equivalent(y, z))
        require(equivalent(x, z), "equal dates are equal transitively", dates);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const QString stored = input.flag() ? input.text(24) : input.textOf(dateAlphabet, 16);
    checkSplit(stored);
    checkParsed(stored);
    const QString month = input.textOf(dateAlphabet, 4);
    const QString day = input.textOf(dateAlphabet, 4);
    checkJoin(month, day, input.textOf(dateAlphabet, 8));
    const QString b = input.textOf(dateAlphabet, 12);
    checkOrder(stored, b, input.textOf(dateAlphabet, 12));
    return 0;
}
