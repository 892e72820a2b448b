#include "minimalmodel.h"

MinimalModel::MinimalModel(shelvio::ProbeRows rows)
{
    if (rows.groups.empty()) {
        m_roots = std::move(rows.texts);
        return;
    }
    m_roots = std::move(rows.groups);
    m_children.resize(m_roots.size());
    for (size_t i = 0; i < rows.texts.size(); ++i)
        m_children[size_t(rows.groupOfRow[i])].push_back(std::move(rows.texts[i]));
}

void MinimalModel::appendRoot(const QString& text)
{
    beginInsertRows({}, int(m_roots.size()), int(m_roots.size()));
    m_roots.push_back(text);
    if (!m_children.empty())
        m_children.emplace_back();
    endInsertRows();
}

void MinimalModel::removeRoot(int row)
{
    beginRemoveRows({}, row, row);
    m_roots.erase(m_roots.begin() + row);
    if (!m_children.empty())
        m_children.erase(m_children.begin() + row);
    endRemoveRows();
}

// Top rows carry 0; a child carries its parent's row + 1.
QModelIndex MinimalModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return size_t(row) < m_roots.size() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || m_children.empty() ||
        size_t(row) >= m_children[size_t(parent.row())].size())
        return {};
    return createIndex(row, 0, quintptr(parent.row() + 1));
}

QModelIndex MinimalModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int MinimalModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(m_roots.size());
    if (parent.internalId() != 0 || m_children.empty())
        return 0;
    return int(m_children[size_t(parent.row())].size());
}

int MinimalModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant MinimalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (index.internalId() == 0)
        return m_roots[size_t(index.row())];
    return m_children[index.internalId() - 1][size_t(index.row())];
}
