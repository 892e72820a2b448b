#pragma once

#include "booktreemodel.h"

#include <QTreeView>

namespace shelvio {

// The book tree control: a tree view over a BookTreeModel. A double-click on
// a node reports the node's key; the view itself expands or collapses it.
// Enter on the current node counts as a double-click, for the keyboard;
// "/" asks for the find bar.
class BookTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit BookTreeView(QWidget* parent = nullptr);

    BookTreeModel& nodes() { return m_model; }
    const BookTreeModel& nodes() const { return m_model; }

signals:
    void nodeDoubleClicked(const QString& key);
    void findRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BookTreeModel m_model;
};

} // namespace shelvio
