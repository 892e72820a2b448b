#include "sortorder.h"

#include "textfold.h"

#include <QHash>

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

// The entries of the rows from `first` to `last` that are not Null; the
// Null ones go to `nulls`.
void makeEntries(const TextColumn& texts, const std::vector<bool>& isNull, qint32 first, qint32 last,
                 std::vector<Entry>* entries, std::vector<qint32>* nulls)
{
    entries->reserve(std::max(entries->capacity(), size_t(last - first)));
    std::string key;
    for (qint32 row = first; row < last; ++row) {
        if (isNull[size_t(row)]) {
            nulls->push_back(row);
            continue;
        }
        key.clear();
        appendSortKeyUtf8(texts.bytesAt(row), &key);
        entries->push_back(entryOf(key, row));
    }
}

} // namespace

std::vector<qint32> orderByKey(const TextColumn& texts, const std::vector<bool>& isNull)
{
    // The keys are made on both cores, each for half the rows.
    const auto rows = qint32(texts.size());
    const qint32 half = rows / 2;
    std::vector<Entry> entries, secondEntries;
    std::vector<qint32> order, secondNulls;
    order.reserve(size_t(rows));
    if (rows < rowsWorthTwoCores) {
        makeEntries(texts, isNull, 0, rows, &entries, &order);
    } else {
        entries.reserve(size_t(rows));
        std::thread second([&] { makeEntries(texts, isNull, half, rows, &secondEntries, &secondNulls); });
        makeEntries(texts, isNull, 0, half, &entries, &order);
        second.join();
        order.insert(order.end(), secondNulls.begin(), secondNulls.end());
        entries.insert(entries.end(), secondEntries.begin(), secondEntries.end());
        std::vector<Entry>().swap(secondEntries);
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

std::vector<qint32> byBucket(const std::vector<qint32>& items, const std::vector<qint32>& bucketOf,
                             qint32 buckets)
{
    std::vector<qint32> starts(size_t(buckets) + 1, 0);
    for (qint32 item : items)
        ++starts[size_t(bucketOf[size_t(item)]) + 1];
    for (size_t b = 1; b < starts.size(); ++b)
        starts[b] += starts[b - 1];
    std::vector<qint32> sorted(items.size());
    for (qint32 item : items)
        sorted[size_t(starts[size_t(bucketOf[size_t(item)])]++)] = item;
    return sorted;
}

namespace {

size_t hashOf(std::string_view first, std::string_view second)
{
    return qHashBits(first.data(), first.size(), qHashBits(second.data(), second.size()));
}

} // namespace

qint32 TextPairs::numberOf(std::string_view first, std::string_view second)
{
    if (m_slots.size() < 2 * size_t(m_firsts.size() + 1))
        grow();
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hashOf(first, second) & mask;; slot = (slot + 1) & mask) {
        const qint32 pair = m_slots[slot];
        if (pair < 0) {
            m_slots[slot] = add(first, second);
            return m_slots[slot];
        }
        if (m_firsts.bytesAt(pair) == first && m_seconds.bytesAt(pair) == second)
            return pair;
    }
}

qint32 TextPairs::add(std::string_view first, std::string_view second)
{
    m_firsts.append(first);
    m_seconds.append(second);
    return qint32(m_firsts.size() - 1);
}

void TextPairs::grow()
{
    m_slots.assign(std::max<size_t>(1024, m_slots.size() * 2), -1);
    const size_t mask = m_slots.size() - 1;
    for (qint32 pair = 0; pair < count(); ++pair) {
        size_t slot = hashOf(m_firsts.bytesAt(pair), m_seconds.bytesAt(pair)) & mask;
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = pair;
    }
}

} // namespace shelvio
