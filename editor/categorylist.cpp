#include "categorylist.h"

#include "textfold.h"

#include <QListWidget>

namespace shelvio {

bool CategoryItem::operator<(const QListWidgetItem& other) const
{
    return lessForDisplay(text(), other.text());
}

void addCategoryName(QListWidget* list, const QString& name)
{
    list->addItem(new CategoryItem(name));
}

QListWidgetItem* findCategoryName(QListWidget* list, const QString& name)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() == name)
            return list->item(row);
    }
    return nullptr;
}

QStringList categoryNamesIn(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

} // namespace shelvio
