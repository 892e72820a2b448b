#include "windowroles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// Qt asks the factories with each class name of the object in turn, from the
// most derived one up; a plain QWidget window reaches "QWidget" without any
// class on the way having an interface of its own.
QAccessibleInterface* plainWindowInterface(const QString& className, QObject* object)
{
    if (className != u"QWidget"_s || !object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void announcePlainWindowsAsWindows()
{
    static const bool installed = [] {
        QAccessible::installFactory(plainWindowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace shelvio
