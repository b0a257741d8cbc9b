#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <vector>

// Which names occur more than once among many lines, held as 64-bit hashes
// of their UTF-8 rather than as texts: eight bytes a line while counting,
// and only the repeated hashes afterwards. Two different names that share a hash both
// count as repeated; a caller may only use this to keep lines it would
// otherwise drop, never to drop a line.
class RepeatedNames
{
public:
    // Counting: every occurrence of every name.
    void add(QByteArrayView name) { m_seen.push_back(hashOf(name)); }
    // Counting: every name part counted, on a thread of its own; part is
    // left empty.
    void add(RepeatedNames &&part);
    // Ends counting, sorting on a pool of threads (below 1: one per
    // processor); from then on only isRepeated is asked.
    void settle(int threads = 0);
    // True when name was added twice or more (or shares a hash with a name
    // that was).
    bool isRepeated(QByteArrayView name) const;
    // The same for many names at once, into repeated (one per name): their
    // look-ups overlap, where one by one each waits on memory.
    void findRepeated(const std::vector<QByteArrayView> &names, std::vector<char> &repeated) const;

private:
    static std::uint64_t hashOf(QByteArrayView name);
    std::uint64_t slotOf(std::uint64_t hash) const { return hash & m_filterMask; }
    bool mayHold(std::uint64_t hash) const;
    bool holds(std::uint64_t hash) const;

    std::vector<std::uint64_t> m_seen;
    // Sorted hashes added more than once.
    std::vector<std::uint64_t> m_repeated;
    // One bit per slot of hash values; a clear bit means "not repeated"
    // without a search through m_repeated.
    std::vector<std::uint64_t> m_filter;
    std::uint64_t m_filterMask = 0;
};
