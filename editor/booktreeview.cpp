#include "booktreeview.h"

#include <QHeaderView>

namespace shelvio {

BookTreeView::BookTreeView(QWidget* parent)
    : QTreeView(parent)
{
    setModel(&m_model);
    setHeaderHidden(true);
    // Every row is one line of text: lets the view skip measuring a million rows.
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        const QString key = m_model.keyAt(index);
        if (!key.isEmpty())
            emit nodeDoubleClicked(key);
    });
}

} // namespace shelvio
