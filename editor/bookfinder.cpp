#include "bookfinder.h"

#include "booktreemodel.h"
#include "nameforms.h"

#include <algorithm>
#include <limits>

namespace shelvio {

namespace {

// Stands for "no book" among the nodes: an author or a category.
constexpr qint64 groupNode = std::numeric_limits<qint64>::min();

// The found book numbers, asked for once for each node of the tree: a bit
// for each number between the lowest and the highest where they lie close
// together, as in any catalogue the editor filled; else a search in the
// sorted list. Each found number has a slot of its own.
class FoundNumbers {
public:
    explicit FoundNumbers(const QList<qint64>& sorted)
        : m_sorted(sorted)
    {
        constexpr qint64 mostBits = qint64(1) << 26; // 8 MB
        // Unsigned: the difference of two far-apart numbers must not overflow.
        if (sorted.isEmpty() || quint64(sorted.last()) - quint64(sorted.first()) >= quint64(mostBits))
            return;
        m_first = sorted.first();
        m_bits.assign(size_t(sorted.last() - m_first + 1), false);
        for (qint64 id : sorted)
            m_bits[size_t(id - m_first)] = true;
    }

    size_t slotCount() const { return m_bits.empty() ? size_t(m_sorted.size()) : m_bits.size(); }

    std::optional<size_t> slotOf(qint64 id) const
    {
        if (!m_bits.empty()) {
            if (id < m_first)
                return std::nullopt; // a group node too
            const quint64 slot = quint64(id) - quint64(m_first);
            if (slot >= m_bits.size() || !m_bits[size_t(slot)])
                return std::nullopt;
            return size_t(slot);
        }
        const auto at = std::lower_bound(m_sorted.cbegin(), m_sorted.cend(), id);
        if (at == m_sorted.cend() || *at != id)
            return std::nullopt;
        return size_t(at - m_sorted.cbegin());
    }

private:
    const QList<qint64>& m_sorted;
    qint64 m_first = 0;
    std::vector<bool> m_bits;
};

} // namespace

BookFinder::BookFinder(Catalogue& catalogue, const BookTreeModel& tree, QObject* parent)
    : QObject(parent)
    , m_search(catalogue)
    , m_tree(tree)
{
    const auto treeChanged = [this] {
        m_treeRead = false;
        m_placesStale = true;
    };
    connect(&tree, &QAbstractItemModel::modelReset, this, treeChanged);
    connect(&tree, &QAbstractItemModel::rowsInserted, this, treeChanged);
    connect(&tree, &QAbstractItemModel::rowsRemoved, this, treeChanged);
}

Status BookFinder::find(const QString& typed)
{
    m_text = typed;
    m_terms = searchTerms(typed);
    m_booksStale = true;
    return refresh();
}

Status BookFinder::refresh()
{
    if (m_booksStale) {
        Result<QList<qint64>> found = m_search.findBooks(m_terms);
        if (!found) {
            m_found.clear();
            m_books.clear();
            m_foundNodes.clear();
            return found.error();
        }
        m_found = found.take();
        m_booksStale = false;
        m_placesStale = true;
    }
    if (m_placesStale)
        place();
    return {};
}

// The tree has two levels at most: books at the root (title ordering), or
// authors or categories with their books under them. A book node has no
// children, and its key tells the ordering: "T 12", or " 3T~ 12" under a
// category.
void BookFinder::readTree()
{
    if (m_treeRead)
        return;
    m_nodeBooks.clear();
    m_rootPositions.clear();
    m_nodeBooks.reserve(size_t(m_tree.nodeCount()));
    m_tree.forEachNode([this](const QString& key, int depth, int childCount) {
        if (depth == 0)
            m_rootPositions.push_back(int(m_nodeBooks.size()));
        const auto book = childCount == 0 ? bookIdFromNodeKey(key, !key.startsWith(u'T')) : std::nullopt;
        m_nodeBooks.push_back(book.value_or(groupNode));
    });
    m_treeRead = true;
}

void BookFinder::place()
{
    m_books.clear();
    m_foundNodes.clear();
    m_placesStale = false;
    if (m_found.isEmpty())
        return;
    readTree();
    const FoundNumbers found(m_found);
    std::vector<bool> listed(found.slotCount(), false);
    for (size_t position = 0; position < m_nodeBooks.size(); ++position) {
        const qint64 book = m_nodeBooks[position];
        const std::optional<size_t> slot = found.slotOf(book);
        if (!slot)
            continue;
        m_foundNodes.push_back(int(position));
        if (!listed[*slot]) {
            listed[*slot] = true;
            m_books << book;
        }
    }
    for (qint64 book : std::as_const(m_found)) {
        if (!listed[*found.slotOf(book)])
            m_books << book;
    }
}

int BookFinder::positionOf(const QString& key) const
{
    const QModelIndex index = m_tree.indexOf(key);
    if (!index.isValid() || m_rootPositions.empty())
        return -1;
    const QModelIndex parent = index.parent();
    if (!parent.isValid())
        return m_rootPositions[size_t(index.row())];
    return m_rootPositions[size_t(parent.row())] + 1 + index.row();
}

QString BookFinder::keyAt(int position) const
{
    const auto root = std::upper_bound(m_rootPositions.cbegin(), m_rootPositions.cend(), position) - 1;
    const QModelIndex rootIndex = m_tree.index(int(root - m_rootPositions.cbegin()), 0);
    if (*root == position)
        return m_tree.keyAt(rootIndex);
    return m_tree.keyAt(m_tree.index(position - *root - 1, 0, rootIndex));
}

QString BookFinder::nextNode(const QString& fromKey, bool forward) const
{
    if (m_foundNodes.empty())
        return {};
    const int from = fromKey.isEmpty() ? -1 : positionOf(fromKey);
    auto at = m_foundNodes.cbegin();
    if (forward) {
        at = std::upper_bound(m_foundNodes.cbegin(), m_foundNodes.cend(), from);
        if (at == m_foundNodes.cend())
            at = m_foundNodes.cbegin();
    } else {
        at = std::lower_bound(m_foundNodes.cbegin(), m_foundNodes.cend(), from);
        if (from < 0 || at == m_foundNodes.cbegin())
            at = m_foundNodes.cend();
        --at;
    }
    return keyAt(*at);
}

QString BookFinder::firstNodeOf(qint64 bookId) const
{
    for (int position : m_foundNodes) {
        if (m_nodeBooks[size_t(position)] == bookId)
            return keyAt(position);
    }
    return {};
}

} // namespace shelvio
