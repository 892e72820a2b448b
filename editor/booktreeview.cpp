#include "booktreeview.h"

#include <QKeyEvent>

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

void BookTreeView::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString key = m_model.keyAt(currentIndex());
    if (enter && !key.isEmpty()) {
        emit nodeDoubleClicked(key);
        return;
    }
    // By the character, whichever key gives it on the keyboard at hand.
    if (event->text() == QLatin1String("/")) {
        emit findRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace shelvio
