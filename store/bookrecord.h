#pragma once

#include <QString>

#include <optional>

namespace shelvio {

// The columns of one book that the editor reads and writes. A number that is
// Null in the file is an empty optional; Null text reads as empty text.
struct BookRecord {
    std::optional<qint64> id; // empty for a book not yet stored
    QString title;
    QString author;    // last name
    QString firstName; // GA1
    std::optional<qint64> yearPublished;
    std::optional<qint64> pages;
    std::optional<qint64> costUnits; // ten-thousandths (see numbers.h)
    QString dateRead;
    QString comments;
    std::optional<qint64> rating;
    bool wantToBuy = false;
    bool ownBook = false;
    bool readBook = false;
    bool wantToRead = false; // GB1
};

} // namespace shelvio
