#include "textcolumn.h"

namespace shelvio {

void TextColumn::reserve(qsizetype texts, qsizetype bytes)
{
    m_ends.reserve(size_t(texts));
    m_bytes.reserve(size_t(bytes));
}

void TextColumn::append(std::string_view utf8)
{
    m_bytes.insert(m_bytes.end(), utf8.begin(), utf8.end());
    m_ends.push_back(qsizetype(m_bytes.size()));
}

void TextColumn::append(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    append(std::string_view(utf8.constData(), size_t(utf8.size())));
}

std::string_view TextColumn::bytesAt(qsizetype number) const
{
    const qsizetype begin = number == 0 ? 0 : m_ends[size_t(number - 1)];
    return {m_bytes.data() + begin, size_t(m_ends[size_t(number)] - begin)};
}

QString TextColumn::at(qsizetype number) const
{
    const std::string_view bytes = bytesAt(number);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace shelvio
