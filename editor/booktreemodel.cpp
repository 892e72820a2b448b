#include "booktreemodel.h"

#include "nameforms.h"

#include <optional>

namespace shelvio {

namespace {

// The book's number of a key in the form "T 12", exactly as titleNodeKey
// writes it.
std::optional<qint64> numberOfBookKey(const QString& key)
{
    if (!key.startsWith(u'T'))
        return std::nullopt;
    const auto number = bookIdFromNodeKey(key, false);
    if (!number || titleNodeKey(*number) != key)
        return std::nullopt;
    return number;
}

struct RowAndNumber {
    qint64 row;
    qint64 number;
};

// The row's and the book's number of a key in the form " 5T~ 12", exactly as
// categoryBookNodeKey writes it.
std::optional<RowAndNumber> numbersOfRowKey(const QString& key)
{
    const qsizetype tilde = key.indexOf(u"T~");
    if (tilde < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 row = key.left(tilde).trimmed().toLongLong(&ok);
    const auto number = bookIdFromNodeKey(key, true);
    if (!ok || !number || categoryBookNodeKey(row, *number) != key)
        return std::nullopt;
    return RowAndNumber{row, *number};
}

} // namespace

BookTreeModel::BookTreeModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

void BookTreeModel::reset()
{
    m_nodes = {};
    m_roots = {};
    m_childLists = {};
    m_texts = {};
    m_liveNodes = 0;
    m_storedKeys = {};
    m_byStoredKey = {};
    m_builtNumbers = {};
    m_nodeOfBuiltBook = {};
    m_nodeOfBuiltRow = {};
    m_laterBooks = {};
}

void BookTreeModel::clear()
{
    beginResetModel();
    reset();
    endResetModel();
}

void BookTreeModel::beginBuild()
{
    beginResetModel();
    reset();
}

void BookTreeModel::endBuild()
{
    endResetModel();
}

void BookTreeModel::endBuild(BookListing listing, BookKeys keys, const std::vector<Group>& groups)
{
    m_texts = std::move(listing.sortTitles);
    m_builtNumbers = std::move(listing.ids);
    const auto rows = qint32(listing.rows.size());
    if (keys == BookKeys::ByNumber)
        m_nodeOfBuiltBook.assign(m_builtNumbers.size(), -1);
    else
        m_nodeOfBuiltRow.assign(size_t(rows), -1);
    // Room for the nodes a save adds, so that the first does not move a
    // million of them.
    const auto headroom = size_t(rows / 64 + 64);
    m_nodes.reserve(size_t(rows) + groups.size() + headroom);
    m_texts.reserve(m_texts.size() + qsizetype(groups.size() + headroom),
                    m_texts.byteCount() + qsizetype((groups.size() + headroom) * 64));
    if (groups.empty())
        m_roots.reserve(size_t(rows) + headroom);
    size_t nextGroup = 0;
    qint32 parent = -1;
    for (qint32 row = 0; row < rows; ++row) {
        while (nextGroup < groups.size() && groups[nextGroup].firstRow <= row)
            parent = groupNode(groups[nextGroup++]);
        const qint32 book = listing.rows[size_t(row)];
        qint32& registered =
            keys == BookKeys::ByNumber ? m_nodeOfBuiltBook[size_t(book)] : m_nodeOfBuiltRow[size_t(row)];
        if (registered >= 0)
            continue; // a key that is in the tree already
        registered = qint32(m_nodes.size());
        Node node;
        node.number = m_builtNumbers[size_t(book)];
        node.text = book;
        node.parent = parent;
        node.extra = row;
        node.form = keys == BookKeys::ByNumber ? KeyForm::BookNumber : KeyForm::RowAndBookNumber;
        std::vector<qint32>& siblings = siblingsOf(parent);
        node.row = qint32(siblings.size());
        siblings.push_back(registered);
        m_nodes.push_back(node);
    }
    m_liveNodes = qsizetype(m_nodes.size());
    endResetModel();
}

qint32 BookTreeModel::groupNode(const Group& group)
{
    qint32 node = find(group.key);
    if (node < 0) {
        m_texts.append(group.text);
        node = addNode(-1, group.key, qint32(m_texts.size() - 1));
        ++m_liveNodes;
    }
    return node;
}

qint32 BookTreeModel::find(const QString& key) const
{
    if (const auto number = numberOfBookKey(key)) {
        if (const auto later = m_laterBooks.constFind(*number); later != m_laterBooks.constEnd())
            return *later;
        const auto built = std::lower_bound(m_builtNumbers.begin(), m_builtNumbers.end(), *number);
        if (m_nodeOfBuiltBook.empty() || built == m_builtNumbers.end() || *built != *number)
            return -1;
        return m_nodeOfBuiltBook[size_t(built - m_builtNumbers.begin())];
    }
    if (const auto numbers = numbersOfRowKey(key);
        numbers && numbers->row >= 0 && numbers->row < qint64(m_nodeOfBuiltRow.size())) {
        const qint32 node = m_nodeOfBuiltRow[size_t(numbers->row)];
        if (node >= 0 && m_nodes[size_t(node)].number == numbers->number)
            return node;
    }
    return m_byStoredKey.value(key, -1);
}

QString BookTreeModel::keyOf(const Node& node) const
{
    switch (node.form) {
    case KeyForm::BookNumber:
        return titleNodeKey(node.number);
    case KeyForm::RowAndBookNumber:
        return categoryBookNodeKey(node.extra, node.number);
    case KeyForm::AsStored:
        break;
    }
    return m_storedKeys[size_t(node.extra)];
}

const std::vector<qint32>& BookTreeModel::siblingsOf(qint32 parent) const
{
    static const std::vector<qint32> none;
    if (parent < 0)
        return m_roots;
    const qint32 list = m_nodes[size_t(parent)].children;
    return list < 0 ? none : m_childLists[size_t(list)];
}

std::vector<qint32>& BookTreeModel::siblingsOf(qint32 parent)
{
    if (parent < 0)
        return m_roots;
    qint32& list = m_nodes[size_t(parent)].children;
    if (list < 0) {
        list = qint32(m_childLists.size());
        m_childLists.emplace_back();
    }
    return m_childLists[size_t(list)];
}

// Adds the node at the end of its siblings and registers its key; the
// caller has made sure the key is not taken.
qint32 BookTreeModel::addNode(qint32 parent, const QString& key, qint32 text)
{
    const auto index = qint32(m_nodes.size());
    Node node;
    node.parent = parent;
    node.text = text;
    if (const auto number = numberOfBookKey(key)) {
        node.form = KeyForm::BookNumber;
        node.number = *number;
        m_laterBooks.insert(*number, index);
    } else {
        node.extra = qint32(m_storedKeys.size());
        m_storedKeys.push_back(key);
        m_byStoredKey.insert(key, index);
    }
    std::vector<qint32>& siblings = siblingsOf(parent);
    node.row = qint32(siblings.size());
    siblings.push_back(index);
    m_nodes.push_back(node);
    return index;
}

bool BookTreeModel::addRoot(const QString& key, const QString& text)
{
    return add(-1, key, text);
}

bool BookTreeModel::addChild(const QString& parentKey, const QString& key, const QString& text)
{
    const qint32 parent = find(parentKey);
    return parent >= 0 && add(parent, key, text);
}

bool BookTreeModel::addToGroup(const QString& groupKey, const QString& groupText, const QString& key,
                               const QString& text)
{
    if (!contains(groupKey))
        addRoot(groupKey, groupText);
    return addChild(groupKey, key, text);
}

bool BookTreeModel::add(qint32 parent, const QString& key, const QString& text)
{
    if (contains(key))
        return false;
    const int row = int(siblingsOf(parent).size());
    beginInsertRows(indexOfNode(parent), row, row);
    m_texts.append(text);
    addNode(parent, key, qint32(m_texts.size() - 1));
    ++m_liveNodes;
    endInsertRows();
    return true;
}

bool BookTreeModel::remove(const QString& key)
{
    const qint32 node = find(key);
    if (node < 0)
        return false;
    const qint32 parent = m_nodes[size_t(node)].parent;
    const qint32 row = m_nodes[size_t(node)].row;
    beginRemoveRows(indexOfNode(parent), row, row);
    std::vector<qint32>& siblings = siblingsOf(parent);
    siblings.erase(siblings.begin() + row);
    for (size_t i = size_t(row); i < siblings.size(); ++i)
        m_nodes[size_t(siblings[i])].row = qint32(i);
    forget(node);
    endRemoveRows();
    return true;
}

void BookTreeModel::forget(qint32 index)
{
    Node& node = m_nodes[size_t(index)];
    node.live = false;
    --m_liveNodes;
    switch (node.form) {
    case KeyForm::BookNumber:
        if (m_laterBooks.value(node.number, -1) == index) {
            m_laterBooks.remove(node.number);
        } else {
            const auto built = std::lower_bound(m_builtNumbers.begin(), m_builtNumbers.end(), node.number);
            m_nodeOfBuiltBook[size_t(built - m_builtNumbers.begin())] = -1;
        }
        break;
    case KeyForm::RowAndBookNumber:
        m_nodeOfBuiltRow[size_t(node.extra)] = -1;
        break;
    case KeyForm::AsStored:
        m_byStoredKey.remove(m_storedKeys[size_t(node.extra)]);
        m_storedKeys[size_t(node.extra)].clear();
        break;
    }
    if (node.children >= 0) {
        std::vector<qint32> children;
        children.swap(m_childLists[size_t(node.children)]);
        for (qint32 child : children)
            forget(child);
    }
}

int BookTreeModel::childCount(const QString& key) const
{
    const qint32 node = find(key);
    return node < 0 ? 0 : int(siblingsOf(node).size());
}

QString BookTreeModel::text(const QString& key) const
{
    const qint32 node = find(key);
    return node < 0 ? QString() : m_texts.at(m_nodes[size_t(node)].text);
}

QString BookTreeModel::parentKey(const QString& key) const
{
    const qint32 node = find(key);
    if (node < 0 || m_nodes[size_t(node)].parent < 0)
        return QString();
    return keyOf(m_nodes[size_t(m_nodes[size_t(node)].parent)]);
}

QString BookTreeModel::keyAt(const QModelIndex& index) const
{
    const Node* node = nodeAt(index);
    return node ? keyOf(*node) : QString();
}

QModelIndex BookTreeModel::indexOfNode(qint32 node) const
{
    return node < 0 ? QModelIndex() : createIndex(m_nodes[size_t(node)].row, 0, quintptr(node));
}

QModelIndex BookTreeModel::indexOf(const QString& key) const
{
    return indexOfNode(find(key));
}

QStringList BookTreeModel::keysOf(const std::vector<qint32>& nodes) const
{
    QStringList keys;
    keys.reserve(qsizetype(nodes.size()));
    for (qint32 node : nodes)
        keys << keyOf(m_nodes[size_t(node)]);
    return keys;
}

QStringList BookTreeModel::rootKeys() const
{
    return keysOf(m_roots);
}

QStringList BookTreeModel::childKeys(const QString& key) const
{
    const qint32 node = find(key);
    return node < 0 ? QStringList() : keysOf(siblingsOf(node));
}

void BookTreeModel::forEachNode(const std::function<void(const QString&, int, int)>& visitor) const
{
    visit(m_roots, 0, visitor);
}

void BookTreeModel::visit(const std::vector<qint32>& nodes, int depth,
                          const std::function<void(const QString&, int, int)>& visitor) const
{
    for (qint32 node : nodes) {
        const std::vector<qint32>& children = siblingsOf(node);
        visitor(keyOf(m_nodes[size_t(node)]), depth, int(children.size()));
        visit(children, depth + 1, visitor);
    }
}

const BookTreeModel::Node* BookTreeModel::nodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() >= m_nodes.size())
        return nullptr;
    const Node* node = &m_nodes[size_t(index.internalId())];
    return node->live ? node : nullptr;
}

QModelIndex BookTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || (parent.isValid() && !nodeAt(parent)))
        return {};
    const std::vector<qint32>& siblings = siblingsOf(parent.isValid() ? qint32(parent.internalId()) : -1);
    if (size_t(row) >= siblings.size())
        return {};
    return createIndex(row, 0, quintptr(siblings[size_t(row)]));
}

QModelIndex BookTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeAt(child);
    return node ? indexOfNode(node->parent) : QModelIndex();
}

int BookTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(m_roots.size());
    const Node* node = nodeAt(parent);
    return node && parent.column() == 0 ? int(siblingsOf(qint32(parent.internalId())).size()) : 0;
}

int BookTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant BookTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeAt(index);
    if (!node)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return m_texts.at(node->text);
    return {};
}

Qt::ItemFlags BookTreeModel::flags(const QModelIndex& index) const
{
    const Node* node = nodeAt(index);
    if (!node)
        return {};
    // Saves the view asking each of a million book rows for children.
    const bool bookNode = node->form != KeyForm::AsStored && node->children < 0;
    return QAbstractItemModel::flags(index) | (bookNode ? Qt::ItemNeverHasChildren : Qt::NoItemFlags);
}

} // namespace shelvio
