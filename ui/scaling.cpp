#include "scaling.h"

#include <QWidget>

#include <cmath>

namespace shelvio {

namespace {

int scaled(int value, qreal factor)
{
    return int(std::lround(value * factor));
}

} // namespace

qreal dpiScale(const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int twipsToPixels(int twips, const QWidget* widget)
{
    return scaled(twips, dpiScale(widget) * 96.0 / 1440.0);
}

QRect twipsToPixels(const QRect& twips, const QWidget* widget)
{
    return {twipsToPixels(twips.x(), widget), twipsToPixels(twips.y(), widget),
            twipsToPixels(twips.width(), widget), twipsToPixels(twips.height(), widget)};
}

void scaleFixedLayout(QWidget* root)
{
    const qreal factor = dpiScale(root);
    if (std::abs(factor - 1.0) < 0.01)
        return;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->isWindow())
            continue;
        const QRect g = child->geometry();
        child->setGeometry(scaled(g.x(), factor), scaled(g.y(), factor), scaled(g.width(), factor),
                           scaled(g.height(), factor));
    }
}

} // namespace shelvio
