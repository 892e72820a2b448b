#include "fuzzinput.h"

#include <cstdio>
#include <cstdlib>

namespace shelvio::fuzzing {

uint8_t FuzzInput::byte()
{
    return m_at < m_size ? m_data[m_at++] : 0;
}

qint64 FuzzInput::number()
{
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | byte();
    return qint64(value);
}

size_t FuzzInput::index(size_t count)
{
    if (count == 0)
        return 0;
    quint64 value = byte();
    if (count > 256)
        value = value << 8 | byte();
    return size_t(value % count);
}

std::optional<qint64> FuzzInput::optionalNumber()
{
    if (byte() % 8 == 0)
        return std::nullopt;
    return number();
}

QString FuzzInput::text(int maxLength)
{
    const int length = byte() % (maxLength + 1);
    QString result;
    for (int i = 0; i < length && !empty(); ++i) {
        const char16_t high = byte();
        result.append(QChar(char16_t(high << 8 | byte())));
    }
    return result;
}

QString FuzzInput::textOf(const QString& alphabet, int maxLength)
{
    const int length = byte() % (maxLength + 1);
    QString result;
    for (int i = 0; i < length && !empty(); ++i) {
        const uint8_t pick = byte();
        // One byte in four beyond the alphabet stands for itself (Latin-1).
        const auto chosen = size_t(pick) % (size_t(alphabet.size()) * 4 / 3 + 1);
        result.append(chosen < size_t(alphabet.size()) ? alphabet.at(qsizetype(chosen)) : QChar(pick));
    }
    return result;
}

QByteArray FuzzInput::bytes(size_t count)
{
    QByteArray result;
    while (count-- > 0 && !empty())
        result.append(char(byte()));
    return result;
}

QString shown(const QString& text)
{
    QString units;
    for (const QChar unit : text)
        units += QString::number(unit.unicode(), 16).rightJustified(4, u'0') + u' ';
    return QStringLiteral("\"") + text + QStringLiteral("\" [") + units.trimmed() + u']';
}

void require(bool holds, const char* what, const QString& detail)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n%s\n", what, qUtf8Printable(detail));
    std::abort();
}

} // namespace shelvio::fuzzing
