#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Decides whether one cell of the Visual Table matches the text of a table
// search. The pattern is read once when the matcher is made, so a search
// over a large table parses nothing per cell.
//
// Without wild cards the search text is a substring of the cell, in exact
// letter case or ignoring it; "whole words" asks for the whole cell to equal
// the text, ignoring case. With wild cards the other options do not apply:
// the cell must match the pattern as a whole ("*" any run, "?" one
// character), every "!" in the pattern inverts the outcome, and the pattern
// may instead compare the cell with values (">", ">=", "<", "<=", joined by
// "&" for both or "^" for either).
//
// A comparison pattern is "op value", or several joined, with spaces
// allowed around each part; a value ends at a space, "&", "^" or "|".
// Comparisons are of text, never numbers. "&" binds closer than "^". A
// single comparison that fails still lets the pattern match as wild cards;
// joined ones decide alone. An operator without a value, or any text that
// is not a comparison, makes the whole pattern plain wild cards.
class CellMatcher
{
public:
    enum Option {
        CaseSensitive = 1,
        WholeWords = 2,
        WildCards = 4,
    };

    // Comparisons look at no more than this many characters of cell and value.
    static constexpr int ComparedLength = 255;

    CellMatcher(const QString &searchText, int options);

    static int optionsFrom(bool caseSensitive, bool wholeWords, bool wildCards);

    bool matches(QStringView cell) const;

    // "*" and "?" over the whole text, letter case significant. Unlike the
    // file-mask matcher, "**" matches an empty text as "*" does.
    static bool globMatches(QStringView text, QStringView pattern);
    // Orders two texts over their first ComparedLength characters with a-z
    // counted equal to A-Z: negative, zero or positive.
    static int compareValues(QStringView left, QStringView right);

private:
    enum class Operator { Greater, GreaterOrEqual, Less, LessOrEqual };
    enum class Join { Both, Either };

    struct Comparison {
        Operator op;
        QString value;
        // How this comparison joins the one before it; unused on the first.
        Join join;
    };

    bool matchesPlainText(QStringView cell) const;
    bool matchesWildCards(QStringView cell) const;
    bool comparisonsHold(QStringView cell) const;
    static bool holds(const Comparison &comparison, QStringView cell);
    static bool parseComparisons(QStringView pattern, QList<Comparison> *comparisons);

    QString m_text;
    QString m_upperText;
    int m_options = 0;
    // The wild-card pattern with its "!" characters taken out.
    QString m_pattern;
    bool m_inverted = false;
    QList<Comparison> m_comparisons;
};
