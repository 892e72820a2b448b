#pragma once

#include "book.h"
#include "result.h"
#include "searchterms.h"

#include <QList>

#include <optional>

namespace shelvio {

class Catalogue;

// Finds books in an open catalogue by the words of their title, author
// (either name), comments and categories. The text is looked up in the
// file's full-text index, which the catalogue keeps current; categories,
// few as they are, are matched here by their names.
class CatalogueSearch {
public:
    explicit CatalogueSearch(Catalogue& catalogue);

    // The numbers of the books in which every phrase occurs, each in any one
    // field, ascending. When another program has changed the file since the
    // last search, the index is checked first, and built afresh should it
    // have fallen behind.
    Result<QList<qint64>> findBooks(const SearchTerms& terms);

    // The books with these numbers, with their categories, in the order
    // given; numbers no longer on file are left out.
    Result<QList<Book>> books(const QList<qint64>& ids);

private:
    Status keepIndexCurrent();
    Result<QList<qint64>> booksMatching(const QString& expression);
    Result<QList<qint64>> booksInCategories(const QList<qint64>& categoryIds);
    Result<QList<QList<qint64>>> categoriesHolding(const SearchTerms& terms);

    Catalogue& m_catalogue;
    std::optional<qint64> m_checkedVersion; // the file's data version when the index was last checked
};

} // namespace shelvio
