#pragma once

#include "booklisting.h"
#include "textcolumn.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace shelvio {

// The nodes of the book tree: each has a unique key, a text, a parent (none
// for a root node) and its children in the order they were added; nodes are
// never sorted. Adding, finding and removing by key cost no more than a hash
// or a binary search at any size.
//
// A tree of a million books is kept flat and small: a book node holds its
// book's number, not its key, which is formed when asked for ("T 12", or
// " 5T~ 12" in the category ordering); the texts lie in one block of UTF-8
// (TextColumn). Other keys (authors, categories) are kept as they are.
class BookTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit BookTreeModel(QObject* parent = nullptr);

    // How a build keys its book nodes: "T" and the book's number, or the
    // row's number, "T~" and the book's number.
    enum class BookKeys { ByNumber, ByRowAndNumber };
    // A group node (an author or a category) and the first row of the
    // listing that goes under it, up to the next group's first row.
    struct Group {
        qint32 firstRow = 0;
        QString key;
        QString text;
    };

    // Replaces every node in one go, and tells the view once. beginBuild()
    // lets go of the old nodes at once, so that a million of them are not
    // held while the new ones are read; endBuild() puts in the listing's rows
    // as book nodes with their sort titles as text, at the root when there
    // are no groups. A group whose key is already in the tree gathers its
    // rows under the node that has it. Nothing may ask the model in between.
    void beginBuild();
    void endBuild(BookListing listing, BookKeys keys, const std::vector<Group>& groups = {});
    void endBuild(); // the tree stays empty
    void clear();

    // Adding a node whose key is already in the tree, or a child under a key
    // that is not, is refused (false) and changes nothing.
    bool addRoot(const QString& key, const QString& text);
    bool addChild(const QString& parentKey, const QString& key, const QString& text);
    // Adds a child under the group node, adding the group at the root first
    // when it is not there yet.
    bool addToGroup(const QString& groupKey, const QString& groupText, const QString& key,
                    const QString& text);
    // Removes the node and everything under it; false when there is none.
    bool remove(const QString& key);

    bool contains(const QString& key) const { return find(key) >= 0; }
    int nodeCount() const { return int(m_liveNodes); }
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
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    enum class KeyForm : quint8 { AsStored, BookNumber, RowAndBookNumber };
    struct Node {
        qint64 number = 0;    // the book's, for the two book key forms
        qint32 text = 0;      // in m_texts
        qint32 parent = -1;   // -1 at the root
        qint32 row = 0;       // place among its siblings
        qint32 extra = 0;     // AsStored: place in m_storedKeys; RowAndBookNumber: the row's number
        qint32 children = -1; // place in m_childLists, -1 for none yet
        KeyForm form = KeyForm::AsStored;
        bool live = true;
    };

    void reset();
    qint32 find(const QString& key) const;
    QString keyOf(const Node& node) const;
    qint32 addNode(qint32 parent, const QString& key, qint32 text);
    bool add(qint32 parent, const QString& key, const QString& text);
    qint32 groupNode(const Group& group);
    void forget(qint32 node);
    const std::vector<qint32>& siblingsOf(qint32 parent) const;
    std::vector<qint32>& siblingsOf(qint32 parent);
    QModelIndex indexOfNode(qint32 node) const;
    const Node* nodeAt(const QModelIndex& index) const;
    QStringList keysOf(const std::vector<qint32>& nodes) const;
    void visit(const std::vector<qint32>& nodes, int depth,
               const std::function<void(const QString&, int, int)>& visitor) const;

    std::vector<Node> m_nodes; // removed nodes stay as dead slots until the next build
    std::vector<qint32> m_roots;
    std::vector<std::vector<qint32>> m_childLists;
    TextColumn m_texts;
    qsizetype m_liveNodes = 0;

    std::vector<QString> m_storedKeys;
    QHash<QString, qint32> m_byStoredKey;
    // Book nodes of the last build, by the place of their book among the
    // listing's numbers (which come in order), or by the row's number.
    std::vector<qint64> m_builtNumbers;
    std::vector<qint32> m_nodeOfBuiltBook;
    std::vector<qint32> m_nodeOfBuiltRow;
    // Book nodes keyed by number that were added after the build.
    QHash<qint64, qint32> m_laterBooks;
};

} // namespace shelvio
