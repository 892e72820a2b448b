#pragma once

#include <QListWidgetItem>

class QListWidget;

namespace shelvio {

// An entry of the two category lists. The lists keep their entries sorted as
// the tree does: without regard to case, accented letters beside their base
// letter, names equal but for case in a fixed order.
class CategoryItem : public QListWidgetItem {
public:
    explicit CategoryItem(const QString& name)
        : QListWidgetItem(name, nullptr, QListWidgetItem::UserType)
    {
    }
    bool operator<(const QListWidgetItem& other) const override;
};

// Adds a name at its sorted place in a list that has sorting switched on.
void addCategoryName(QListWidget* list, const QString& name);

// The entry whose text equals name exactly, or nothing.
QListWidgetItem* findCategoryName(QListWidget* list, const QString& name);

QStringList categoryNamesIn(const QListWidget* list);

} // namespace shelvio
