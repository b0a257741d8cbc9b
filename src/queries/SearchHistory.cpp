#include "SearchHistory.h"

#include "library/TextCompare.h"

#include <algorithm>

namespace {

bool lessNoCase(const QString &a, const QString &b)
{
    return TextCompare::compareNoCase(a, b) < 0;
}

// The word that gives way when the list is full.
constexpr int kDroppedPosition = 20;

} // namespace

void SearchHistory::setItems(const QStringList &words)
{
    m_words.clear();
    for (const QString &word : words) {
        if (!word.isEmpty() && !holds(word))
            m_words.append(word);
    }
    std::stable_sort(m_words.begin(), m_words.end(), lessNoCase);
}

bool SearchHistory::holds(const QString &word) const
{
    return std::any_of(m_words.cbegin(), m_words.cend(),
                       [&](const QString &w) { return TextCompare::equalAsciiNoCase(w, word); });
}

void SearchHistory::add(const QString &word)
{
    if (word.isEmpty() || holds(word))
        return;
    while (m_words.size() >= MaxWords)
        m_words.removeAt(kDroppedPosition);
    const auto at = std::upper_bound(m_words.begin(), m_words.end(), word, lessNoCase);
    m_words.insert(at, word);
}
