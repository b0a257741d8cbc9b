#pragma once

#include "DuplicateFinder.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// A 96-bit hash of an entry's key, with a tag its holder may use (the
// catalog it came from). Keys are compared by their hashes only: among ten
// million different keys the chance that two share one is about 1 in 10^15.
struct KeyHash {
    std::uint64_t high = 0;
    std::uint32_t low = 0;
    std::uint32_t tag = 0;

    bool sameKey(const KeyHash &other) const { return high == other.high && low == other.low; }
    bool operator<(const KeyHash &other) const
    {
        if (high != other.high)
            return high < other.high;
        return low != other.low ? low < other.low : tag < other.tag;
    }
};

// Hashes the key of a UTF-8 catalog line as the duplicate finder compares
// it: the chosen ones of name, size and date, each as stored (doubled quotes
// read as one), letter case counting.
class EntryKeyHasher
{
public:
    explicit EntryKeyHasher(const DuplicateFinder::Criteria &criteria) : m_criteria(criteria) {}

    // False for a line that is no file: a blank line, or a folder entry
    // (one without a file name).
    bool hash(QByteArrayView line, KeyHash &key);

private:
    DuplicateFinder::Criteria m_criteria;
    QByteArray m_key;
};
