#include "textfold.h"

#include <QChar>

namespace shelvio {

namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QString asciiLower(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (QChar c : text) {
        const char16_t u = c.unicode();
        *dst++ = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    }
    return out;
}

} // namespace

QString sortKey(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.mid(1);
    while (text.endsWith(u' '))
        text.chop(1);
    if (isAscii(text))
        return asciiLower(text);
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out.append(c);
    }
    return out.toCaseFolded();
}

QString caseFold(QStringView text)
{
    if (isAscii(text))
        return asciiLower(text);
    return text.toString().normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool lessForDisplay(const QString& a, const QString& b)
{
    const int byKey = sortKey(a).compare(sortKey(b));
    if (byKey != 0)
        return byKey < 0;
    return a < b;
}

} // namespace shelvio
