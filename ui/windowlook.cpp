#include "windowlook.h"

#include <QGuiApplication>
#include <QWidget>

namespace shelvio {

void paintWindowBlue(QWidget* window)
{
    QPalette blue = window->palette();
    blue.setColor(QPalette::Window, windowBlue);
    window->setPalette(blue);
    window->setAutoFillBackground(true);
}

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace shelvio
