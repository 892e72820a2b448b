#include "bookrows.h"

#include "numbers.h"
#include "statement.h"

namespace shelvio {

Book bookFromRow(const Statement& row)
{
    Book book;
    book.id = row.value(0).toLongLong();
    book.title = row.value(1).toString();
    book.sortTitle = row.value(2).toString();
    book.author = row.value(3).toString();
    book.firstName = row.value(4).toString();
    book.yearPublished = storedNumber(row.value(5));
    book.pages = storedNumber(row.value(6));
    book.costUnits = storedCostUnits(row.value(7));
    book.dateRead = row.value(8).toString();
    book.comments = row.value(9).toString();
    book.rating = storedNumber(row.value(10));
    book.wantToBuy = storedFlag(row.value(11));
    book.ownBook = storedFlag(row.value(12));
    book.readBook = storedFlag(row.value(13));
    book.wantToRead = storedFlag(row.value(14));
    return book;
}

namespace {

QVariant nullable(const std::optional<qint64>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
}

} // namespace

QVariantList storedBookValues(const Book& book)
{
    const QVariant cost = book.costUnits ? QVariant(amountFromCostUnits(*book.costUnits))
                                         : QVariant(QMetaType(QMetaType::Double));
    return {book.title,
            book.author,
            nullable(book.yearPublished),
            book.rating.value_or(0),
            book.dateRead,
            book.comments,
            cost,
            int(book.wantToBuy),
            int(book.ownBook),
            nullable(book.pages),
            int(book.readBook),
            int(book.wantToRead),
            book.firstName,
            book.sortTitle};
}

} // namespace shelvio
