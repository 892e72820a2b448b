#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace shelvio {

// One book as both programs see it: the columns of Books that they read and
// write, and the names of its categories. A number that is Null in the file
// is an empty optional; Null text reads as empty text.
struct Book {
    std::optional<qint64> id; // empty for a book not yet stored
    QString title;
    // GA2. The catalogue gives the stored form; a report gives the title
    // where GA2 is empty, so that a row written by another tool still sorts.
    QString sortTitle;
    QString author;    // last name; a report gives it without blanks at the ends
    QString firstName; // GA1; the same
    std::optional<qint64> yearPublished;
    std::optional<qint64> pages;
    std::optional<qint64> costUnits; // ten-thousandths (see numbers.h)
    QString dateRead;                // as stored, "m/d/yyyy" as typed
    QString comments;
    std::optional<qint64> rating;
    bool wantToBuy = false;
    bool ownBook = false;
    bool readBook = false;
    bool wantToRead = false; // GB1
    QStringList categories;  // by name; a report fills them only when it asks
};

} // namespace shelvio
