#pragma once

#include "benchprobe.h"

#include <QAbstractItemModel>

// The least a tree model can be: vectors of strings, one or two levels. Its
// times and memory, shown in a plain tree view, are the benchmark's measure
// of what Qt itself takes for a tree of that many rows.
class MinimalModel : public QAbstractItemModel {
public:
    explicit MinimalModel(shelvio::ProbeRows rows);

    void appendRoot(const QString& text);
    void removeRoot(int row);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<QString> m_roots;
    std::vector<std::vector<QString>> m_children; // empty when flat
};
