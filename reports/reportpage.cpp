#include "reportpage.h"

using namespace Qt::StringLiterals;

namespace shelvio::reports {

QStringList ReportPage::texts() const
{
    QStringList result;
    for (const PageItem& item : items) {
        if (!item.text.isEmpty())
            result << item.text;
    }
    return result;
}

QString pageNumberText(int number, int count)
{
    if (count <= 0)
        return u"Page %1"_s.arg(number);
    return u"Page %1 of %2"_s.arg(number).arg(count);
}

} // namespace shelvio::reports
