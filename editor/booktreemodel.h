#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace shelvio {

// The nodes of the book tree: each has a unique key, a text, a parent (none
// for a root node) and its children in the order they were added. A hash
// from key to node makes adding, finding and removing by key cheap at any
// size; nodes are never sorted.
class BookTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit BookTreeModel(QObject* parent = nullptr);

    // Empties the tree and starts a build: adds until endBuild() signal no
    // rows, and the view is told once at the end. Room for expectedNodes is
    // made at once, so that a large build does not grow the tree step by step.
    void beginBuild(qsizetype expectedNodes = 0);
    void endBuild();
    void clear();

    // Adding a node whose key is already in the tree, or a child under a key
    // that is not, is refused (false) and changes nothing.
    bool addRoot(const QString& key, const QString& text);
    bool addChild(const QString& parentKey, const QString& key, const QString& text);
    // Adds a child under the group node (an author or a category), adding the
    // group at the root first when it is not there yet. Rows that form the
    // same group key need not come one after the other: a later one joins the
    // node that already has the key.
    bool addToGroup(const QString& groupKey, const QString& groupText, const QString& key,
                    const QString& text);
    // Removes the node and everything under it; false when there is none.
    bool remove(const QString& key);

    bool contains(const QString& key) const { return m_byKey.contains(key); }
    int nodeCount() const { return int(m_byKey.size()); }
    int childCount(const QString& key) const;
    QString text(const QString& key) const;
    QString parentKey(const QString& key) const;
    QString keyAt(const QModelIndex& index) const;
    QModelIndex indexOf(const QString& key) const;
    // Keys of the root nodes, or of a node's children, in their order.
    QStringList rootKeys() const;
    QStringList childKeys(const QString& key) const;
    // Visits every node in the order the tree shows them, each parent before
    // its children; depth is 0 for a root node.
    void forEachNode(const std::function<void(const QString& key, int depth, int childCount)>& visit) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Node {
        QString key;
        QString text;
        int parent = -1;
        int row = 0; // place among its siblings
        std::vector<int> children;
    };

    const std::vector<int>& siblingsOf(int parent) const;
    std::vector<int>& siblingsOf(int parent);
    bool add(int parent, const QString& key, const QString& text);
    void forget(int node);
    const Node* nodeAt(const QModelIndex& index) const;
    QStringList keysOf(const std::vector<int>& nodes) const;
    void visit(const std::vector<int>& nodes, int depth,
               const std::function<void(const QString&, int, int)>& visitor) const;

    std::vector<Node> m_nodes; // removed nodes stay as unused slots until the next clear
    std::vector<int> m_roots;
    QHash<QString, int> m_byKey;
    bool m_building = false;
};

} // namespace shelvio
