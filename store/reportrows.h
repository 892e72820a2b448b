#pragma once

#include "book.h"
#include "textcolumn.h"

#include <QString>

#include <limits>
#include <vector>

namespace shelvio {

// The books of a report, kept once and compactly: each text in one UTF-8
// block per column, numbers in plain vectors, a book's categories as places
// in one list of names. The report's order is a list of places; a Book is
// made only when one is asked for, as the layout asks for the books it
// places. A million books take some 150 MB rather than close to a gigabyte.
class ReportRows {
public:
    // The number of books in the report.
    qsizetype size() const { return qsizetype(m_order.size()); }
    bool isEmpty() const { return m_order.empty(); }
    // The book at `index` in the report's order, categories included.
    Book book(qsizetype index) const;
    // The sort title of that book, without making the rest.
    QString sortTitle(qsizetype index) const;

    // Adds a book at the end of the order.
    void append(const Book& book);
    static ReportRows fromBooks(const std::vector<Book>& books);

    // Filled by the store's reader: the columns of each book in the order
    // the rows were read, then the report's order over them.
    static constexpr qint64 nullNumber = std::numeric_limits<qint64>::min();
    enum FlagBit : quint8 { WantToBuy = 1, OwnBook = 2, ReadBook = 4, WantToRead = 8 };
    struct Columns {
        std::vector<qint64> ids;
        TextColumn titles;
        TextColumn sortTitles;
        TextColumn lastNames;
        TextColumn firstNames;
        std::vector<qint64> years; // nullNumber for Null, here and below
        std::vector<qint64> pages;
        std::vector<qint64> costUnits;
        TextColumn datesRead;
        TextColumn comments;
        std::vector<qint64> ratings;
        std::vector<quint8> flags; // FlagBit

        // A book's categories: places in categoryNames, the book's own from
        // categoryStarts[row] to categoryStarts[row + 1]. Empty when the
        // report reads no categories.
        std::vector<qint32> categoryStarts;
        std::vector<qint32> categoriesOfBooks;
        TextColumn categoryNames;

        qsizetype rowCount() const { return qsizetype(ids.size()); }
    };
    Columns& columns() { return m_columns; }
    const Columns& columns() const { return m_columns; }
    // Places of rows in `columns()`, in the report's order.
    void setOrder(std::vector<qint32> order) { m_order = std::move(order); }
    const std::vector<qint32>& order() const { return m_order; }

private:
    Columns m_columns;
    std::vector<qint32> m_order;
};

} // namespace shelvio
