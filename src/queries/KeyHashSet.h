#pragma once

#include "EntryKeyHasher.h"

#include <cstdint>
#include <vector>

// Key hashes held for look-ups by the million: sorted, with an index of
// where each range of leading bits starts, so a look-up reads a few
// neighbouring records instead of searching the whole list.
class KeyHashSet
{
public:
    KeyHashSet() = default;
    // keys: sorted, each key once.
    explicit KeyHashSet(std::vector<KeyHash> &&keys);

    // The key's position, or -1.
    qsizetype indexOf(const KeyHash &key) const;
    qsizetype size() const { return qsizetype(m_keys.size()); }

private:
    std::uint64_t bucketOf(const KeyHash &key) const { return m_shift >= 64 ? 0 : key.high >> m_shift; }

    std::vector<KeyHash> m_keys;
    // Bucket b's keys are m_keys[m_starts[b]] up to m_starts[b + 1].
    std::vector<std::uint32_t> m_starts;
    int m_shift = 64;
};
