#pragma once

#include "LineFields.h"
#include "LineMatcher.h"
#include "WordPrefilter.h"

#include <QString>
#include <QStringMatcher>

// Search by word or phrase: a line matches when any of its fields, taken
// whole, matches the pattern ("*" and "?" wildcards). Without case
// sensitivity both the fields and the pattern are lowered.
class WordMatcher : public LineMatcher
{
public:
    // word as the user typed it; a pattern holding "?" gets one "*" appended.
    WordMatcher(const QString &word, bool caseSensitive);

    const QString &pattern() const { return m_pattern; }
    bool matches(QStringView line) override;
    void findIn(QStringView text, const Found &found) override;
    void findInUtf8(QByteArrayView text, const Found &found) override;
    void findLinesInUtf8(QByteArrayView text, const FoundUtf8 &found) override;

private:
    bool fieldsMatch(QStringView preparedLine);
    void decodeCandidate(QByteArrayView line);
    // Hands each line that matches to take, decoded and as its bytes.
    template <typename Take>
    void findCandidates(QByteArrayView text, Take take);

    QString m_pattern;
    bool m_caseSensitive;
    // The longest run of plain characters of the pattern: every matching
    // field holds it, so lines without it are passed over unparsed.
    QString m_required;
    QStringMatcher m_finder;
    WordPrefilter m_prefilter;
    QString m_candidate;
    LineFields m_fields;
    QString m_loweredLine;
    QString m_loweredText;
};
