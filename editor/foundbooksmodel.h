#pragma once

#include "book.h"
#include "searchterms.h"

#include <QAbstractListModel>

namespace shelvio {

class CatalogueSearch;

// What the list of found books shows of one book: the title, a line with
// the author and the year, and, when a word was found in neither, a line
// that shows where it was (a piece of the comments or the categories);
// each with the stretches that match marked.
struct FoundBookLines {
    QString title;
    QList<TextRange> titleMarks;
    QString byline;
    QList<TextRange> bylineMarks;
    QString detail; // empty when title and author show every word
    QList<TextRange> detailMarks;
};

FoundBookLines foundBookLines(const Book& book, const SearchTerms& terms);

// The found books for the find bar's list. The books are read from the
// catalogue a page at a time, as the list is scrolled down, so that a word
// found in half a million books shows its first ones at once.
class FoundBooksModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int pageSize = 1000;

    explicit FoundBooksModel(CatalogueSearch& search, QObject* parent = nullptr);

    // Shows these books, in this order, and reads the first page.
    void show(const QList<qint64>& bookIds, const SearchTerms& terms);
    void clear() { show({}, {}); }

    const SearchTerms& terms() const { return m_terms; }
    const Book& bookAt(int row) const { return m_books.at(row); }
    std::optional<qint64> bookIdAt(int row) const;
    // The words of the last failure to read a page, empty when none.
    const QString& problem() const { return m_problem; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    CatalogueSearch& m_search;
    SearchTerms m_terms;
    QList<qint64> m_ids;
    qsizetype m_nextToRead = 0;
    QList<Book> m_books;
    QString m_problem;
};

} // namespace shelvio
