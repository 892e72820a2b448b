#pragma once

#include "cataloguesearch.h"
#include "searchterms.h"

#include <QObject>
#include <QStringList>

#include <vector>

namespace shelvio {

class BookTreeModel;

// The books found for what was typed in the find bar, placed in the order
// of the book tree: the list of results shows each book once, where its
// first node stands; F3 steps through every node of a found book. The
// catalogue answers the search; the tree, which the window already holds,
// gives the order.
class BookFinder : public QObject {
    Q_OBJECT
public:
    BookFinder(Catalogue& catalogue, const BookTreeModel& tree, QObject* parent = nullptr);

    // Finds the books for this text and places them.
    Status find(const QString& typed);
    // Finds again for the same text, as far as needed: the books after the
    // catalogue changed, their places after the tree changed.
    Status refresh();
    void catalogueChanged() { m_booksStale = true; }
    // Reads the tree's order now, unless it is read already: the find bar
    // does so as it opens, so that the first word typed is placed at once.
    void readTree();
    bool isStale() const { return m_booksStale || m_placesStale; }

    CatalogueSearch& search() { return m_search; }
    const QString& text() const { return m_text; }
    const SearchTerms& terms() const { return m_terms; }
    // Each found book once, in the order of its first node; books without a
    // node in this ordering (no category) come last.
    const QList<qint64>& books() const { return m_books; }
    // The key of the first node of a found book after `fromKey` (before it,
    // backwards), going round at the end; the first (last) one when
    // `fromKey` is empty; empty when no node holds a found book.
    QString nextNode(const QString& fromKey, bool forward) const;
    // The first node of the book in the tree; empty when it has none.
    QString firstNodeOf(qint64 bookId) const;

private:
    void place();
    int positionOf(const QString& key) const;
    QString keyAt(int position) const;

    CatalogueSearch m_search;
    const BookTreeModel& m_tree;
    QString m_text;
    SearchTerms m_terms;
    QList<qint64> m_found; // ascending, as the catalogue gives them
    QList<qint64> m_books;
    bool m_booksStale = false;
    bool m_placesStale = true;

    // The tree read once per change: the book of every node in tree order
    // (none for an author or category), and where each root node stands.
    std::vector<qint64> m_nodeBooks;
    std::vector<int> m_rootPositions;
    bool m_treeRead = false;
    std::vector<int> m_foundNodes; // positions of the nodes of found books, ascending
};

} // namespace shelvio
