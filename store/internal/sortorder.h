#pragma once

#include "textcolumn.h"

#include <QtGlobal>

#include <algorithm>
#include <string_view>
#include <thread>
#include <vector>

// Putting rows in order in the program, over sort keys (textfold.h), the way
// SQLite orders them ORDER BY shelvio_sortkey(text) and the row's key: an
// index serves no such ORDER BY, and SQLite would call the function again
// and again.
namespace shelvio {

// The text without blanks at its ends, as SQLite's trim() gives it.
inline std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The rows 0 to n-1 of a column of texts in the order of their sort keys,
// Null first (as SQLite puts it), rows with equal keys in their own order:
// rows read in the order of their BookID come out as ORDER BY
// shelvio_sortkey(text), BookID.
std::vector<qint32> orderByKey(const TextColumn& texts, const std::vector<bool>& isNull);

// From how many rows on work is worth sharing between the two cores.
inline constexpr std::ptrdiff_t rowsWorthTwoCores = 50000;

// std::sort, on both cores where the range is long enough to gain by it.
template <class Iterator, class Less> void sortOnTwoCores(Iterator begin, Iterator end, Less less)
{
    if (end - begin < rowsWorthTwoCores) {
        std::sort(begin, end, less);
        return;
    }
    const Iterator middle = begin + (end - begin) / 2;
    std::thread first([&] { std::sort(begin, middle, less); });
    std::sort(middle, end, less);
    first.join();
    std::inplace_merge(begin, middle, end, less);
}

// Orders `items` (in the order they should keep within a bucket) by their
// bucket, in one pass: a counting sort.
std::vector<qint32> byBucket(const std::vector<qint32>& items, const std::vector<qint32>& bucketOf,
                             qint32 buckets);

// Pairs of texts (an author's last and first name as stored), each kept
// once, numbered in the order met: the many books of one author share a
// number, and the names are put in order once per author, not once a book.
class TextPairs {
public:
    // The pair's number, adding it when it is new.
    qint32 numberOf(std::string_view first, std::string_view second);

    qint32 count() const { return qint32(m_firsts.size()); }
    const TextColumn& firsts() const { return m_firsts; }
    const TextColumn& seconds() const { return m_seconds; }

    // Ranks the pairs by `compare`, a three-way comparison of two pair
    // numbers; pairs that compare equal share a rank. Returns the number of
    // ranks.
    template <class Compare> qint32 rank(Compare compare, std::vector<qint32>* rankOfPair) const
    {
        std::vector<qint32> order(static_cast<size_t>(count()));
        for (qint32 pair = 0; pair < count(); ++pair)
            order[size_t(pair)] = pair;
        sortOnTwoCores(order.begin(), order.end(), [&](qint32 a, qint32 b) { return compare(a, b) < 0; });
        rankOfPair->assign(size_t(count()), 0);
        qint32 rank = -1;
        for (size_t i = 0; i < order.size(); ++i) {
            if (i == 0 || compare(order[i - 1], order[i]) != 0)
                ++rank;
            (*rankOfPair)[size_t(order[i])] = rank;
        }
        return rank + 1;
    }

private:
    qint32 add(std::string_view first, std::string_view second);
    void grow();

    TextColumn m_firsts;
    TextColumn m_seconds;
    std::vector<qint32> m_slots; // open addressing: pair numbers, -1 for free
};

} // namespace shelvio
