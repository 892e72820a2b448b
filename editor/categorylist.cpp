#include "categorylist.h"

#include "textfold.h"

#include <QKeyEvent>
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

void removeCategoryEntry(QListWidget* list, QListWidgetItem* item)
{
    delete item;
    list->setCurrentItem(nullptr);
    list->clearSelection();
}

namespace {

class EntryKeys : public QObject {
public:
    EntryKeys(QListWidget* list, std::function<void()> choose)
        : QObject(list)
        , m_list(list)
        , m_choose(std::move(choose))
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // The key acts on the current entry, which the focus frame marks
            // even where the list has not selected it.
            if (QListWidgetItem* item = m_list->currentItem()) {
                item->setSelected(true);
                m_choose();
            }
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QListWidget* m_list;
    std::function<void()> m_choose;
};

} // namespace

void onEntryChosenByKey(QListWidget* list, std::function<void()> choose)
{
    new EntryKeys(list, std::move(choose));
}

} // namespace shelvio
