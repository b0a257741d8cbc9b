#include "EntryKeyHasher.h"

#include "library/Utf8Fields.h"

#include <QHash>

namespace {

// Two fixed seeds: the hashes only meet each other within one run.
constexpr size_t kHighSeed = 0x6b65737472;
constexpr size_t kLowSeed = 0x6f6e6c79696e;

} // namespace

bool EntryKeyHasher::hash(QByteArrayView line, KeyHash &key)
{
    Utf8Fields::Cursor cursor(line);
    Utf8Fields::Span spans[3];
    int count = 0;
    while (count < 3 && cursor.next(spans[count]))
        ++count;
    if (count == 0 || spans[0].length == 0)
        return false;
    const bool chosen[3] = {m_criteria.name, m_criteria.size, m_criteria.date};
    m_key.resize(0);
    for (int k = 0; k < 3; ++k) {
        if (!chosen[k])
            continue;
        if (k < count) {
            const Utf8Fields::Span &span = spans[k];
            if (span.escaped)
                m_key.append(Utf8Fields::bytes(line, span));
            else
                m_key.append(line.sliced(span.start, span.length));
        }
        // A NUL never stands in a catalog's text, so fields cannot run
        // into each other: "file1" of 23 bytes is not "file12" of 3.
        m_key.append('\0');
    }
    key.high = std::uint64_t(qHash(QByteArrayView(m_key), kHighSeed));
    key.low = std::uint32_t(qHash(QByteArrayView(m_key), kLowSeed));
    return true;
}
