#pragma once

#include <QStringList>

// The words searched before (the settings list Searchword.Items): at most
// 30, sorted without regard to case, none twice when the case of A to Z is
// ignored.
class SearchHistory
{
public:
    static constexpr int MaxWords = 30;

    SearchHistory() = default;
    explicit SearchHistory(const QStringList &words) { setItems(words); }

    // Takes a stored list, sorting it and dropping repeated words.
    void setItems(const QStringList &words);
    const QStringList &items() const { return m_words; }
    void clear() { m_words.clear(); }

    // Records a searched word as typed. A word already held (A to Z in any
    // case) changes nothing; otherwise, when the list is full, the 21st word
    // in sorted order makes room for it.
    void add(const QString &word);

private:
    bool holds(const QString &word) const;

    QStringList m_words;
};
