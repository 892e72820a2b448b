#include "booktreemodel.h"

namespace shelvio {

BookTreeModel::BookTreeModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

void BookTreeModel::beginBuild(qsizetype expectedNodes)
{
    beginResetModel();
    m_building = true;
    m_nodes.clear();
    m_roots.clear();
    m_byKey.clear();
    m_nodes.reserve(size_t(expectedNodes));
    m_byKey.reserve(expectedNodes);
}

void BookTreeModel::endBuild()
{
    m_building = false;
    endResetModel();
}

void BookTreeModel::clear()
{
    beginBuild();
    endBuild();
}

const std::vector<int>& BookTreeModel::siblingsOf(int parent) const
{
    return parent < 0 ? m_roots : m_nodes[size_t(parent)].children;
}

std::vector<int>& BookTreeModel::siblingsOf(int parent)
{
    return parent < 0 ? m_roots : m_nodes[size_t(parent)].children;
}

bool BookTreeModel::addRoot(const QString& key, const QString& text)
{
    return add(-1, key, text);
}

bool BookTreeModel::addChild(const QString& parentKey, const QString& key, const QString& text)
{
    const auto parent = m_byKey.constFind(parentKey);
    if (parent == m_byKey.constEnd())
        return false;
    return add(*parent, key, text);
}

bool BookTreeModel::addToGroup(const QString& groupKey, const QString& groupText, const QString& key,
                               const QString& text)
{
    if (!contains(groupKey))
        addRoot(groupKey, groupText);
    return addChild(groupKey, key, text);
}

bool BookTreeModel::add(int parent, const QString& key, const QString& text)
{
    if (m_byKey.contains(key))
        return false;
    std::vector<int>& siblings = siblingsOf(parent);
    const int row = int(siblings.size());
    if (!m_building) {
        const QModelIndex parentIndex =
            parent < 0 ? QModelIndex() : createIndex(m_nodes[size_t(parent)].row, 0, parent);
        beginInsertRows(parentIndex, row, row);
    }
    const int node = int(m_nodes.size());
    m_nodes.push_back(Node{key, text, parent, row, {}});
    siblingsOf(parent).push_back(node); // re-fetch: push_back above may have moved the nodes
    m_byKey.insert(key, node);
    if (!m_building)
        endInsertRows();
    return true;
}

bool BookTreeModel::remove(const QString& key)
{
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.constEnd())
        return false;
    const int node = *found;
    const Node& n = m_nodes[size_t(node)];
    const int parent = n.parent;
    const int row = n.row;
    const QModelIndex parentIndex =
        parent < 0 ? QModelIndex() : createIndex(m_nodes[size_t(parent)].row, 0, parent);
    beginRemoveRows(parentIndex, row, row);
    std::vector<int>& siblings = siblingsOf(parent);
    siblings.erase(siblings.begin() + row);
    for (size_t i = size_t(row); i < siblings.size(); ++i)
        m_nodes[size_t(siblings[i])].row = int(i);
    forget(node);
    endRemoveRows();
    return true;
}

void BookTreeModel::forget(int node)
{
    Node& n = m_nodes[size_t(node)];
    for (int child : n.children)
        forget(child);
    m_byKey.remove(n.key);
    n.children.clear();
    n.key.clear();
    n.text.clear();
}

int BookTreeModel::childCount(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.constEnd() ? 0 : int(m_nodes[size_t(*found)].children.size());
}

QString BookTreeModel::text(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.constEnd() ? QString() : m_nodes[size_t(*found)].text;
}

QString BookTreeModel::parentKey(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.constEnd() || m_nodes[size_t(*found)].parent < 0)
        return QString();
    return m_nodes[size_t(m_nodes[size_t(*found)].parent)].key;
}

QString BookTreeModel::keyAt(const QModelIndex& index) const
{
    const Node* node = nodeAt(index);
    return node ? node->key : QString();
}

QModelIndex BookTreeModel::indexOf(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.constEnd())
        return {};
    return createIndex(m_nodes[size_t(*found)].row, 0, quintptr(*found));
}

QStringList BookTreeModel::keysOf(const std::vector<int>& nodes) const
{
    QStringList keys;
    keys.reserve(qsizetype(nodes.size()));
    for (int node : nodes)
        keys << m_nodes[size_t(node)].key;
    return keys;
}

QStringList BookTreeModel::rootKeys() const
{
    return keysOf(m_roots);
}

QStringList BookTreeModel::childKeys(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.constEnd() ? QStringList() : keysOf(m_nodes[size_t(*found)].children);
}

void BookTreeModel::forEachNode(const std::function<void(const QString&, int, int)>& visitor) const
{
    visit(m_roots, 0, visitor);
}

void BookTreeModel::visit(const std::vector<int>& nodes, int depth,
                          const std::function<void(const QString&, int, int)>& visitor) const
{
    for (int node : nodes) {
        const Node& n = m_nodes[size_t(node)];
        visitor(n.key, depth, int(n.children.size()));
        visit(n.children, depth + 1, visitor);
    }
}

const BookTreeModel::Node* BookTreeModel::nodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() >= m_nodes.size())
        return nullptr;
    return &m_nodes[size_t(index.internalId())];
}

QModelIndex BookTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    int parentNode = -1;
    if (parent.isValid())
        parentNode = int(parent.internalId());
    const std::vector<int>& siblings = siblingsOf(parentNode);
    if (size_t(row) >= siblings.size())
        return {};
    return createIndex(row, 0, quintptr(siblings[size_t(row)]));
}

QModelIndex BookTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeAt(child);
    if (!node || node->parent < 0)
        return {};
    return createIndex(m_nodes[size_t(node->parent)].row, 0, quintptr(node->parent));
}

int BookTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(m_roots.size());
    const Node* node = nodeAt(parent);
    return node && parent.column() == 0 ? int(node->children.size()) : 0;
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
        return node->text;
    return {};
}

} // namespace shelvio
