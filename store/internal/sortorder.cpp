#include "sortorder.h"

#include "textfold.h"

#include <string>

namespace shelvio {

namespace {

constexpr size_t headBytes = 24;

// A row's place in the sort: the first 24 bytes of its key as three numbers
// that order as the bytes do, which settle nearly every comparison without
// the key itself. Titles often share their first sixteen bytes ("Collected
// Works of …"). Keys are made once a row and not kept: where two rows tie
// in their first bytes and one key is longer, both are made again.
struct Entry {
    quint64 head[3];
    quint32 length; // of the key, up to headBytes + 1
    qint32 row;
};

Entry entryOf(std::string_view key, qint32 row)
{
    Entry entry{{0, 0, 0}, quint32(std::min(key.size(), headBytes + 1)), row};
    for (size_t i = 0; i < headBytes; ++i) {
        const quint64 byte = i < key.size() ? static_cast<unsigned char>(key[i]) : 0u;
        entry.head[i / 8] = entry.head[i / 8] << 8 | byte;
    }
    return entry;
}

std::string keyOf(std::string_view text)
{
    std::string key;
    appendSortKeyUtf8(text, &key);
    return key;
}

} // namespace

std::vector<qint32> orderByKey(const TextColumn& texts, const std::vector<bool>& isNull)
{
    std::vector<qint32> order;
    order.reserve(size_t(texts.size()));
    std::vector<Entry> entries;
    entries.reserve(size_t(texts.size()));
    std::string key;
    for (qint32 row = 0; row < qint32(texts.size()); ++row) {
        if (isNull[size_t(row)]) {
            order.push_back(row);
            continue;
        }
        key.clear();
        appendSortKeyUtf8(texts.bytesAt(row), &key);
        entries.push_back(entryOf(key, row));
    }
    sortOnTwoCores(entries.begin(), entries.end(), [&texts](const Entry& a, const Entry& b) {
        for (size_t i = 0; i < 3; ++i) {
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i];
        }
        if (a.length > headBytes || b.length > headBytes) {
            const int byKey = keyOf(texts.bytesAt(a.row)).compare(keyOf(texts.bytesAt(b.row)));
            if (byKey != 0)
                return byKey < 0;
        } else if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.row < b.row;
    });
    for (const Entry& entry : entries)
        order.push_back(entry.row);
    return order;
}

} // namespace shelvio
