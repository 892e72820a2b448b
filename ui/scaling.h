#pragma once

#include <QRect>

class QWidget;

namespace shelvio {

// The windows are laid out at fixed places given for a 96-dpi screen (or in
// twips, 1/1440 inch); these scale them to the screen's logical DPI.
qreal dpiScale(const QWidget* widget);
int twipsToPixels(int twips, const QWidget* widget);
QRect twipsToPixels(const QRect& twips, const QWidget* widget);

// Moves and resizes every child widget of `root` by the screen's scale, once,
// after setupUi(); the layout itself is fixed at 96 dpi in the .ui file.
void scaleFixedLayout(QWidget* root);

} // namespace shelvio
