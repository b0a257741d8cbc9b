#include "table/TableSearch.h"

#include "table/CellMatcher.h"

QString TableSearch::message(Outcome outcome)
{
    switch (outcome) {
    case Outcome::NoMatch:
        return QStringLiteral("No Match Was Found");
    case Outcome::NoMoreMatch:
        return QStringLiteral("No More Match Was Found");
    case Outcome::Ignored:
    case Outcome::Found:
        break;
    }
    return QString();
}

TableSearch::Outcome TableSearch::findFirst(const QString &text, int options, int columnCount, int rowCount,
                                            const CellReader &cell)
{
    if (text.isEmpty())
        return Outcome::Ignored;
    m_text = text;
    m_options = options;
    forgetMatch();
    return searchFrom(0, 1, columnCount, rowCount, cell) == Outcome::Found ? Outcome::Found
                                                                           : Outcome::NoMatch;
}

TableSearch::Outcome TableSearch::findNext(QStringView typedText, int columnCount, int rowCount,
                                           const CellReader &cell)
{
    if (typedText.isEmpty() || !hasSearch())
        return Outcome::Ignored;
    const Outcome outcome = m_column < 0 ? searchFrom(0, 1, columnCount, rowCount, cell)
                                         : searchFrom(m_column, m_row + 1, columnCount, rowCount, cell);
    if (outcome == Outcome::Found)
        return outcome;
    // Forgetting the match lets the next press start again from the top.
    forgetMatch();
    return Outcome::NoMoreMatch;
}

TableSearch::Outcome TableSearch::searchFrom(int column, int row, int columnCount, int rowCount,
                                             const CellReader &cell)
{
    const CellMatcher matcher(m_text, m_options);
    for (int c = column; c < columnCount; ++c) {
        for (int r = (c == column ? row : 1); r < rowCount; ++r) {
            if (matcher.matches(cell(c, r))) {
                m_column = c;
                m_row = r;
                return Outcome::Found;
            }
        }
    }
    return Outcome::NoMatch;
}

void TableSearch::forgetMatch()
{
    m_column = -1;
    m_row = -1;
}
