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

void appendSortKeyUtf8(std::string_view text, std::string* key)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // The common case, without a round trip through UTF-16: ASCII, lowered
    // as it is copied.
    const size_t start = key->size();
    key->resize(start + text.size());
    char* out = key->data() + start;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            key->resize(start);
            const QByteArray folded =
                sortKey(QString::fromUtf8(text.data(), qsizetype(text.size()))).toUtf8();
            key->append(folded.constData(), size_t(folded.size()));
            return;
        }
        *out++ = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
    }
}

bool lessForDisplay(const QString& a, const QString& b)
{
    const int byKey = sortKey(a).compare(sortKey(b));
    if (byKey != 0)
        return byKey < 0;
    return a < b;
}

} // namespace shelvio
