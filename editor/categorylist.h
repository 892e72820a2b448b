#pragma once

#include <QListWidgetItem>

#include <functional>

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

// Takes an entry out of its list and leaves the list with no selected and no
// current entry. Qt would otherwise select the neighbour, and a second press
// of a button that acts on "the selected category" would act on a category
// nobody picked.
void removeCategoryEntry(QListWidget* list, QListWidgetItem* item);

// Calls `choose` when Enter, Return or Space is pressed in the list, with the
// current entry selected first, so that the keyboard moves an entry as a
// double-click does.
void onEntryChosenByKey(QListWidget* list, std::function<void()> choose);

} // namespace shelvio
