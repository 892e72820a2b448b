#pragma once

#include <QString>

#include <string_view>
#include <vector>

namespace shelvio {

// Many short texts in one block of UTF-8, each found by its number: a
// million titles take one allocation rather than a million, and half the
// room of as many QStrings. A text becomes a QString only when it is asked
// for, as a view asks for the rows it shows.
class TextColumn {
public:
    void reserve(qsizetype texts, qsizetype bytes);
    // Adds a text at the end; its number is the size before.
    void append(std::string_view utf8);
    void append(const QString& text);

    qsizetype size() const { return qsizetype(m_ends.size()); }
    qsizetype byteCount() const { return qsizetype(m_bytes.size()); }
    bool isEmpty() const { return m_ends.empty(); }
    std::string_view bytesAt(qsizetype number) const;
    QString at(qsizetype number) const;

private:
    std::vector<char> m_bytes;
    std::vector<qsizetype> m_ends; // where each text ends in m_bytes
};

} // namespace shelvio
