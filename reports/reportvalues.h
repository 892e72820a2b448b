#pragma once

#include "reportdata.h"
#include "nameforms.h"
#include "reportdefinition.h"

#include <QLocale>
#include <QString>

#include <optional>

// How a book's values read on the printed page, and which group a book falls
// into at each grouping level. Empty values print as nothing.
namespace shelvio::reports {

// "Last, First", or the one name there is; empty when there is none.
QString authorText(const QString& lastName, const QString& firstName);

QString costText(std::optional<qint64> costUnits, const QLocale& locale);
QString pagesText(std::optional<qint64> pages, const QLocale& locale);
QString yearText(std::optional<qint64> year); // no group separator in a year

// The read date as stored, or nothing when no part of it was typed ("//").
QString dateReadText(const QString& stored);

QString fieldText(Field field, const Book& book, const QLocale& locale);
QString fieldHeading(Field field);

bool flagValue(Flag flag, const Book& book);

// The group a book falls into at one level: books with equal keys are one
// group; the heading is what is printed above it (an empty heading prints
// nothing, for a level that repeats the outer one).
struct GroupKey {
    QString key;
    QString heading;
    bool operator==(const GroupKey& other) const { return key == other.key; }
};
GroupKey groupKey(Grouping grouping, int level, const Book& book);

// The initial a letter group is headed with, from the text the books are
// ordered by (the sort title, the filed author name): the first character
// of the text's sort key, as a capital where that capital orders as the same
// initial. Books in one letter group are thus always next to each other.
QString initialOf(const QString& text);

} // namespace shelvio::reports
