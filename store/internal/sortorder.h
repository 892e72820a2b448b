#pragma once

#include "textcolumn.h"

#include <QtGlobal>

#include <algorithm>
#include <thread>
#include <vector>

// Putting rows in order in the program, over sort keys (textfold.h), the way
// SQLite orders them ORDER BY shelvio_sortkey(text) and the row's key: an
// index serves no such ORDER BY, and SQLite would call the function again
// and again.
namespace shelvio {

// The rows 0 to n-1 of a column of texts in the order of their sort keys,
// Null first (as SQLite puts it), rows with equal keys in their own order:
// rows read in the order of their BookID come out as ORDER BY
// shelvio_sortkey(text), BookID.
std::vector<qint32> orderByKey(const TextColumn& texts, const std::vector<bool>& isNull);

// std::sort, on both cores where the range is long enough to gain by it.
template <class Iterator, class Less> void sortOnTwoCores(Iterator begin, Iterator end, Less less)
{
    constexpr std::ptrdiff_t worthSplitting = 50000;
    if (end - begin < worthSplitting) {
        std::sort(begin, end, less);
        return;
    }
    const Iterator middle = begin + (end - begin) / 2;
    std::thread first([&] { std::sort(begin, middle, less); });
    std::sort(middle, end, less);
    first.join();
    std::inplace_merge(begin, middle, end, less);
}

} // namespace shelvio
