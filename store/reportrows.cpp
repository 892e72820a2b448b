#include "reportrows.h"

namespace shelvio {

namespace {

std::optional<qint64> numberAt(const std::vector<qint64>& column, qint32 row)
{
    const qint64 value = column[size_t(row)];
    return value == ReportRows::nullNumber ? std::nullopt : std::optional<qint64>(value);
}

qint64 storedNumber(const std::optional<qint64>& value)
{
    return value.value_or(ReportRows::nullNumber);
}

} // namespace

Book ReportRows::book(qsizetype index) const
{
    const qint32 row = m_order[size_t(index)];
    const Columns& c = m_columns;
    Book book;
    book.id = c.ids[size_t(row)];
    book.title = c.titles.at(row);
    book.sortTitle = c.sortTitles.at(row);
    book.author = c.lastNames.at(row);
    book.firstName = c.firstNames.at(row);
    book.yearPublished = numberAt(c.years, row);
    book.pages = numberAt(c.pages, row);
    book.costUnits = numberAt(c.costUnits, row);
    book.dateRead = c.datesRead.at(row);
    book.comments = c.comments.at(row);
    book.rating = numberAt(c.ratings, row);
    const quint8 flags = c.flags[size_t(row)];
    book.wantToBuy = flags & WantToBuy;
    book.ownBook = flags & OwnBook;
    book.readBook = flags & ReadBook;
    book.wantToRead = flags & WantToRead;
    if (!c.categoryStarts.empty()) {
        for (qint32 i = c.categoryStarts[size_t(row)]; i < c.categoryStarts[size_t(row) + 1]; ++i)
            book.categories << c.categoryNames.at(c.categoriesOfBooks[size_t(i)]);
    }
    return book;
}

QString ReportRows::sortTitle(qsizetype index) const
{
    return m_columns.sortTitles.at(m_order[size_t(index)]);
}

void ReportRows::append(const Book& book)
{
    Columns& c = m_columns;
    m_order.push_back(qint32(c.ids.size()));
    c.ids.push_back(book.id.value_or(0));
    c.titles.append(book.title);
    c.sortTitles.append(book.sortTitle);
    c.lastNames.append(book.author);
    c.firstNames.append(book.firstName);
    c.years.push_back(storedNumber(book.yearPublished));
    c.pages.push_back(storedNumber(book.pages));
    c.costUnits.push_back(storedNumber(book.costUnits));
    c.datesRead.append(book.dateRead);
    c.comments.append(book.comments);
    c.ratings.push_back(storedNumber(book.rating));
    c.flags.push_back(quint8((book.wantToBuy ? WantToBuy : 0) | (book.ownBook ? OwnBook : 0) |
                             (book.readBook ? ReadBook : 0) | (book.wantToRead ? WantToRead : 0)));
    if (c.categoryStarts.empty())
        c.categoryStarts.push_back(0);
    for (const QString& name : book.categories) {
        c.categoriesOfBooks.push_back(qint32(c.categoryNames.size()));
        c.categoryNames.append(name);
    }
    c.categoryStarts.push_back(qint32(c.categoriesOfBooks.size()));
}

ReportRows ReportRows::fromBooks(const std::vector<Book>& books)
{
    ReportRows rows;
    for (const Book& book : books)
        rows.append(book);
    return rows;
}

} // namespace shelvio
