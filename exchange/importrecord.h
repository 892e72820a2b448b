#pragma once

#include "book.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// One book of a file as its format reads it, before the catalogue's rules
// are applied, and the book those rules make of it.
namespace shelvio::exchange {

struct ImportRecord {
    qint64 line = 0; // where the book begins in the file, from 1
    QString title;
    QString lastName;
    QString firstName;
    // Numbers as the file writes them, read by the editor's rules.
    QString yearPublished;
    QString pages;
    QString cost;
    QString dateRead = QStringLiteral("//"); // as stored: "m/d/yyyy"; "//" when none
    qint64 rating = 0;                       // on the catalogue's scale
    // Nothing where the file does not say.
    std::optional<bool> readBook;
    std::optional<bool> wantToRead;
    std::optional<bool> wantToBuy;
    std::optional<bool> ownBook;
    QString comments;
    QStringList categories;
    // What the format itself could not read; the book is stored all the same.
    QStringList notes;
};

// A row of a file that could not be read as it stands.
struct RowProblem {
    qint64 line = 0;
    QString text;
    bool leftOut = false; // the row makes no book
};

// The book a record makes, read as the editor reads what is typed: a number
// that is not one is stored empty, one too large for its column likewise,
// and both are listed; a category name over 50 characters is left out and
// listed; a record without a title makes no book. A read date without a
// "Have Read" of the file's own means the book has been read, as when it is
// typed for a new book. `numbers` is the locale the file writes its numbers
// in.
std::optional<Book> bookFromRecord(const ImportRecord& record, const QLocale& numbers,
                                   QList<RowProblem>* problems);

// A yes/no word: yes, no, true, false, y, n, x, 1, 0 in any letter case;
// nothing for an empty text or another word.
std::optional<bool> flagFromText(const QString& text);

// Stars as reading sites give them, 0 to 5, halves too: one star is Bad,
// five are Excellent, 3.5 lies between Good and Very Good; 0 is not rated.
std::optional<qint64> ratingFromStars(const QString& stars);

// A date as year, month and day ("2019-03-14", "2019/03/14", with a time
// after it or not) in the stored form "3/14/2019"; nothing for other text.
std::optional<QString> readDateFromYearFirst(const QString& date);

// "Last, First" or "First Last" (the last word is the last name) of the
// first author where several are joined by " & " or ";".
struct PersonName {
    QString last;
    QString first;
};
PersonName splitAuthorName(const QString& name);

// The names of a list of categories as one text: "Fiction; History". A name
// holding the separator, a double quote or a blank at either end stands in
// double quotes, with each double quote inside doubled.
QString joinCategories(const QStringList& names);
// The names again: split at each separator outside double quotes, blanks
// around an unquoted name set aside, empty names left out.
QStringList splitCategories(const QString& text, QChar separator = u';');

} // namespace shelvio::exchange
