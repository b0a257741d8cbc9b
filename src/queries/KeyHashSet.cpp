#include "KeyHashSet.h"

KeyHashSet::KeyHashSet(std::vector<KeyHash> &&keys) : m_keys(std::move(keys))
{
    // Two to four keys a bucket: a look-up reads one or two cache lines.
    int bits = 0;
    while (bits < 32 && (size_t(1) << (bits + 2)) <= m_keys.size())
        ++bits;
    m_shift = 64 - bits;
    const size_t buckets = size_t(1) << bits;
    m_starts.assign(buckets + 1, 0);
    size_t k = 0;
    for (size_t b = 0; b < buckets; ++b) {
        m_starts[b] = std::uint32_t(k);
        while (k < m_keys.size() && bucketOf(m_keys[k]) == b)
            ++k;
    }
    m_starts[buckets] = std::uint32_t(k);
}

qsizetype KeyHashSet::indexOf(const KeyHash &key) const
{
    if (m_keys.empty())
        return -1;
    const std::uint64_t b = bucketOf(key);
    for (std::uint32_t i = m_starts[b]; i < m_starts[b + 1]; ++i) {
        if (m_keys[i].sameKey(key))
            return qsizetype(i);
    }
    return -1;
}
