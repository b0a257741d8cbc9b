#include "RepeatedNames.h"

#include "GroupedSort.h"

#include <QHash>

#include <algorithm>

namespace {

// Any fixed seed: the hashes only meet each other within one run.
constexpr size_t kSeed = 0x6b65737472;

} // namespace

std::uint64_t RepeatedNames::hashOf(QByteArrayView name)
{
    return std::uint64_t(qHash(name, kSeed));
}

void RepeatedNames::add(RepeatedNames &&part)
{
    if (m_seen.empty())
        m_seen.swap(part.m_seen);
    else
        m_seen.insert(m_seen.end(), part.m_seen.cbegin(), part.m_seen.cend());
    std::vector<std::uint64_t>().swap(part.m_seen);
}

void RepeatedNames::settle(int threads)
{
    GroupedSort::sort(m_seen, threads, [](std::uint64_t hash) { return size_t(hash >> 56); });
    m_repeated.clear();
    for (size_t i = 0; i < m_seen.size();) {
        size_t end = i + 1;
        while (end < m_seen.size() && m_seen[end] == m_seen[i])
            ++end;
        if (end - i > 1)
            m_repeated.push_back(m_seen[i]);
        i = end;
    }
    std::vector<std::uint64_t>().swap(m_seen);
    m_repeated.shrink_to_fit();

    // About sixteen bits per repeated hash: most names that are not repeated
    // are told so by one bit.
    size_t bits = 64;
    while (bits < 16 * m_repeated.size())
        bits *= 2;
    m_filter.assign(bits / 64, 0);
    m_filterMask = bits - 1;
    for (std::uint64_t hash : m_repeated) {
        const std::uint64_t slot = slotOf(hash);
        m_filter[slot / 64] |= std::uint64_t(1) << (slot % 64);
    }
}

bool RepeatedNames::mayHold(std::uint64_t hash) const
{
    const std::uint64_t slot = slotOf(hash);
    return !m_filter.empty() && (m_filter[slot / 64] >> (slot % 64)) & 1;
}

bool RepeatedNames::holds(std::uint64_t hash) const
{
    return mayHold(hash) && std::binary_search(m_repeated.cbegin(), m_repeated.cend(), hash);
}

bool RepeatedNames::isRepeated(QByteArrayView name) const
{
    return holds(hashOf(name));
}

void RepeatedNames::findRepeated(const std::vector<QByteArrayView> &names, std::vector<char> &repeated) const
{
    // Far enough ahead for a read from memory to arrive before it is used.
    constexpr size_t ahead = 16;
    std::vector<std::uint64_t> hashes;
    hashes.reserve(names.size());
    for (const QByteArrayView name : names)
        hashes.push_back(hashOf(name));
    repeated.resize(names.size());
    for (size_t i = 0; i < hashes.size(); ++i) {
        if (i + ahead < hashes.size() && !m_filter.empty())
            __builtin_prefetch(&m_filter[slotOf(hashes[i + ahead]) / 64]);
        repeated[i] = holds(hashes[i]);
    }
}
