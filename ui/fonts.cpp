#include "fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace shelvio {

QFont scriptFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({u"Palace Script MT"_s, u"Z003"_s, u"URW Chancery L"_s});
    font.setStyleHint(QFont::Cursive);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QFont dialogFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"DejaVu Sans"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace shelvio
