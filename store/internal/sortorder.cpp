#include "sortorder.h"

#include "textfold.h"

namespace shelvio {

namespace {

// The first eight bytes of a key from `from` on, as one number that orders
// as they do: most comparisons end there, without reading the keys.
quint64 keyHead(std::string_view key, size_t from)
{
    quint64 head = 0;
    for (size_t i = from; i < from + 8; ++i)
        head = head << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return head;
}

struct Entry {
    quint64 head0;
    quint64 head1;
    qint32 row;
};

} // namespace

void KeyColumn::reserve(qsizetype rows, qsizetype bytes)
{
    m_bytes.reserve(size_t(bytes));
    m_ends.reserve(size_t(rows));
    m_nulls.reserve(size_t(rows));
}

void KeyColumn::append(std::string_view text)
{
    appendSortKeyUtf8(text, &m_bytes);
    m_ends.push_back(qsizetype(m_bytes.size()));
    m_nulls.push_back(false);
}

void KeyColumn::appendNull()
{
    m_ends.push_back(qsizetype(m_bytes.size()));
    m_nulls.push_back(true);
}

std::string_view KeyColumn::keyAt(qsizetype row) const
{
    const qsizetype begin = row == 0 ? 0 : m_ends[size_t(row - 1)];
    return std::string_view(m_bytes).substr(size_t(begin), size_t(m_ends[size_t(row)] - begin));
}

std::vector<qint32> orderByKey(const KeyColumn& keys)
{
    std::vector<qint32> order;
    order.reserve(size_t(keys.size()));
    std::vector<Entry> entries;
    entries.reserve(size_t(keys.size()));
    for (qint32 row = 0; row < keys.size(); ++row) {
        if (keys.isNull(row)) {
            order.push_back(row);
            continue;
        }
        const std::string_view key = keys.keyAt(row);
        entries.push_back({keyHead(key, 0), keyHead(key, 8), row});
    }
    sortOnTwoCores(entries.begin(), entries.end(), [&keys](const Entry& a, const Entry& b) {
        if (a.head0 != b.head0)
            return a.head0 < b.head0;
        if (a.head1 != b.head1)
            return a.head1 < b.head1;
        const int byKey = keys.keyAt(a.row).compare(keys.keyAt(b.row));
        return byKey != 0 ? byKey < 0 : a.row < b.row;
    });
    for (const Entry& entry : entries)
        order.push_back(entry.row);
    return order;
}

} // namespace shelvio
