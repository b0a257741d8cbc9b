#include "table/CellMatcher.h"

#include "indexing/CellWildcardMatch.h"

namespace {

bool isValueEnd(QChar c)
{
    // "^" ends a value as "&" does, so ">a^<c" reads as two comparisons.
    return c == u' ' || c == u'&' || c == u'^' || c == u'|';
}

qsizetype skipSpaces(QStringView text, qsizetype at)
{
    while (at < text.size() && text[at] == u' ')
        ++at;
    return at;
}

char16_t foldedLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - u'a' + u'A') : u;
}

} // namespace

CellMatcher::CellMatcher(const QString &searchText, int options)
    : m_text(searchText), m_upperText(searchText.toUpper()), m_options(options)
{
    if (!(m_options & WildCards))
        return;
    m_pattern.reserve(searchText.size());
    for (QChar c : searchText) {
        if (c == u'!')
            m_inverted = !m_inverted;
        else
            m_pattern.append(c);
    }
    if (!parseComparisons(m_pattern, &m_comparisons))
        m_comparisons.clear();
}

int CellMatcher::optionsFrom(bool caseSensitive, bool wholeWords, bool wildCards)
{
    return (caseSensitive ? CaseSensitive : 0) | (wholeWords ? WholeWords : 0) | (wildCards ? WildCards : 0);
}

bool CellMatcher::matches(QStringView cell) const
{
    return (m_options & WildCards) ? matchesWildCards(cell) : matchesPlainText(cell);
}

bool CellMatcher::matchesPlainText(QStringView cell) const
{
    const bool caseSensitive = m_options & CaseSensitive;
    const QString upperCell =
        (caseSensitive && !(m_options & WholeWords)) ? QString() : cell.toString().toUpper();
    const bool found = caseSensitive ? cell.contains(m_text) : QStringView(upperCell).contains(m_upperText);
    // "Whole words" compares the whole cell, and always ignores case.
    if (m_options & WholeWords)
        return found && upperCell == m_upperText;
    return found;
}

bool CellMatcher::matchesWildCards(QStringView cell) const
{
    bool matched;
    if (m_comparisons.size() > 1)
        matched = comparisonsHold(cell);
    else if (m_comparisons.size() == 1)
        matched = holds(m_comparisons.first(), cell) || globMatches(cell, m_pattern);
    else
        matched = globMatches(cell, m_pattern);
    return matched != m_inverted;
}

// "&" binds closer than "^", so "a ^ b & c" is "a, or both b and c".
bool CellMatcher::comparisonsHold(QStringView cell) const
{
    bool anyGroup = false;
    bool group = true;
    for (qsizetype i = 0; i < m_comparisons.size(); ++i) {
        const Comparison &comparison = m_comparisons[i];
        if (i > 0 && comparison.join == Join::Either) {
            anyGroup = anyGroup || group;
            group = true;
        }
        group = group && holds(comparison, cell);
    }
    return anyGroup || group;
}

bool CellMatcher::holds(const Comparison &comparison, QStringView cell)
{
    const int order = compareValues(cell, comparison.value);
    switch (comparison.op) {
    case Operator::Greater:
        return order > 0;
    case Operator::GreaterOrEqual:
        return order >= 0;
    case Operator::Less:
        return order < 0;
    case Operator::LessOrEqual:
        return order <= 0;
    }
    return false;
}

// Reads "op value [join op value]...", spaces allowed around each part. Any
// other text, a missing value or a dangling join makes the whole pattern a
// plain wild-card pattern.
bool CellMatcher::parseComparisons(QStringView pattern, QList<Comparison> *comparisons)
{
    qsizetype at = skipSpaces(pattern, 0);
    Join join = Join::Both;
    while (true) {
        if (at >= pattern.size() || (pattern[at] != u'>' && pattern[at] != u'<'))
            return false;
        const bool greater = pattern[at++] == u'>';
        const bool orEqual = at < pattern.size() && pattern[at] == u'=';
        if (orEqual)
            ++at;
        at = skipSpaces(pattern, at);
        const qsizetype valueStart = at;
        while (at < pattern.size() && !isValueEnd(pattern[at]))
            ++at;
        if (at == valueStart)
            return false;
        const Operator op = greater ? (orEqual ? Operator::GreaterOrEqual : Operator::Greater)
                                    : (orEqual ? Operator::LessOrEqual : Operator::Less);
        comparisons->append({op, pattern.mid(valueStart, at - valueStart).toString(), join});
        at = skipSpaces(pattern, at);
        if (at == pattern.size())
            return true;
        if (pattern[at] == u'&')
            join = Join::Both;
        else if (pattern[at] == u'^')
            join = Join::Either;
        else
            return false;
        at = skipSpaces(pattern, at + 1);
    }
}

bool CellMatcher::globMatches(QStringView text, QStringView pattern)
{
    return CellWildcardMatch(text, pattern);
}

int CellMatcher::compareValues(QStringView left, QStringView right)
{
    const QStringView a = left.left(ComparedLength);
    const QStringView b = right.left(ComparedLength);
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const int difference = int(foldedLetter(a[i])) - int(foldedLetter(b[i]));
        if (difference != 0)
            return difference;
    }
    return int(a.size() - b.size());
}
