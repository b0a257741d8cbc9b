#pragma once

#include "library/OrderedWork.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// Sorts millions of hashes on a pool of threads: first into groups by their
// leading bits, in place, then each group alone, inside the processor's
// caches. A sort of the whole list at once would wait on memory at every
// step, on one thread.
namespace GroupedSort {

// Puts items in groups, in place and in one pass, group by group in the
// order of groupOf's numbers (below groups), and gives the end of each:
// group g is [ends[g], ends[g + 1]). Order within a group is lost.
template <typename T, typename GroupOf>
std::vector<size_t> group(std::vector<T> &items, size_t groups, const GroupOf &groupOf)
{
    std::vector<size_t> ends(groups + 1, 0);
    for (const T &item : items)
        ++ends[groupOf(item) + 1];
    for (size_t g = 1; g <= groups; ++g)
        ends[g] += ends[g - 1];
    std::vector<size_t> next(ends.cbegin(), ends.cend() - 1);
    for (size_t g = 0; g < groups; ++g) {
        while (next[g] < ends[g + 1]) {
            T &item = items[next[g]];
            const size_t home = groupOf(item);
            if (home == g)
                ++next[g];
            else
                std::swap(item, items[next[home]++]);
        }
    }
    return ends;
}

// Sorts items whose order begins with their leading byte, leadingByte(item);
// threads < 1: one per processor.
template <typename T, typename LeadingByte>
void sort(std::vector<T> &items, int threads, const LeadingByte &leadingByte)
{
    // More groups would scatter the first pass over too many pages.
    constexpr size_t groups = 256;
    const std::vector<size_t> ends = group(items, groups, leadingByte);
    const auto start = [&](qsizetype g) { return items.begin() + qsizetype(ends[size_t(g)]); };
    OrderedWork<bool> sorters(
        qsizetype(groups),
        [&]() -> typename OrderedWork<bool>::Job {
            return [&start](qsizetype g, const std::atomic<bool> &) {
                std::sort(start(g), start(g + 1));
                return true;
            };
        },
        threads);
    for (qsizetype g = 0; g < qsizetype(groups); ++g)
        sorters.take(g);
}

} // namespace GroupedSort
