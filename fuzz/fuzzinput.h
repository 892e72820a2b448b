#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

// Reading the values a fuzz target needs from the bytes libFuzzer hands it.
// Every read takes what is left when the input runs short, so that any input
// yields values and the same input always yields the same ones.
namespace shelvio::fuzzing {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    bool empty() const { return m_at >= m_size; }
    uint8_t byte();
    bool flag() { return byte() & 1; }
    // A number from the next eight bytes (fewer at the end), any value.
    qint64 number();
    // A number in [0, count).
    size_t index(size_t count);
    // Null in one case out of eight, otherwise number().
    std::optional<qint64> optionalNumber();
    // UTF-16 text of up to maxLength code units: a length byte, then two
    // bytes per unit. Lone surrogates and control characters come as they may.
    QString text(int maxLength = 64);
    // Text made mostly of the characters that matter to the code under test,
    // each picked by one byte, so that short inputs reach them.
    QString textOf(const QString& alphabet, int maxLength = 64);
    QByteArray bytes(size_t count);

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

// Stops the run with a message when a property of the code under test does
// not hold. Kept in every build, unlike Q_ASSERT.
void require(bool holds, const char* what, const QString& detail = QString());

// Text for a message: the code units of a string in hex beside it.
QString shown(const QString& text);

} // namespace shelvio::fuzzing
