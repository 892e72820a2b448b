#pragma once

#include <QString>

#include <array>
#include <optional>

// The values the catalogue derives from what the user typed, and the keys of
// the book tree's nodes. Pure functions: no database, no widgets.
namespace shelvio {

// Sort title kept in GA2: a leading "A " or "AN " (any case) or "The " (exactly
// so) is moved to the end as ", A", ", An" or ", The ". Nothing else changes.
QString sortTitle(const QString& title);

// Text without the blanks at either end (blanks only, as the database's
// trim() does; tabs and other white space stay).
QString trimBlanks(const QString& text);

// "Last, First" from trimmed parts; "<Null>, <Null>" when both are empty.
QString authorName(const QString& lastName, const QString& firstName);

// A number with one leading blank when it is not negative: 12 -> " 12".
QString signedText(qint64 number);

QString titleNodeKey(qint64 bookId);              // "T 12"
QString authorNodeKey(const QString& authorName); // "ASmith, John"
QString categoryNodeKey(const QString& categoryName);
QString categoryBookNodeKey(qint64 rowNumber, qint64 bookId); // " 0T~ 12"

// The book number a book node's key carries; nothing for keys that do not
// hold a number where a book node's key does.
std::optional<qint64> bookIdFromNodeKey(const QString& key, bool categoryOrdering);

// Read date: month, day and year joined with "/" just as typed.
QString readDateText(const QString& month, const QString& day, const QString& year);

struct ReadDateParts {
    QString month;
    QString day;
    QString year;
    bool operator==(const ReadDateParts&) const = default;
};

// Splits a stored read date at its first two "/" (extra ones stay in the
// year). Older files may hold fewer: with no "/" the whole text is the year,
// with one the parts are month and year.
ReadDateParts splitReadDate(const QString& stored);

// The rating scale: 0 is not rated; the five grades, each with its rating
// box, are Bad (2), Fair (4), Good (6), Very Good (8), Excellent (10); an odd
// value lies between its two neighbouring grades.
inline constexpr std::array<int, 5> ratingBoxValues{2, 4, 6, 8, 10};
using RatingBoxes = std::array<bool, 5>;

// Whether a stored rating lies on the scale (2 to 10).
bool ratingOnScale(std::optional<qint64> rating);

// The words of a rating: "Very Good", or "Very Good – Excellent" between two
// grades; empty off the scale.
QString ratingText(std::optional<qint64> rating);

// The rating whose words these are (ratingText read backwards, without
// regard to letter case, a hyphen for the dash): 0 for no words, nothing
// for words that are not the scale's.
std::optional<qint64> ratingFromText(const QString& words);

// 0 when no box is ticked; one box gives its value; each further ticked box,
// visited from Excellent down to Bad, lowers the value by one.
int ratingFromBoxes(const RatingBoxes& ticked);

// The boxes a stored rating ticks: odd values between two grades tick both
// neighbours; anything outside 2..10 ticks none.
RatingBoxes boxesForRating(std::optional<qint64> rating);

} // namespace shelvio
