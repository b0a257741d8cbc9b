#pragma once

#include <QByteArrayView>
#include <QString>

// The user's-locale text orders of the program. Letters compare by their
// base letter first (so accented letters sort beside their plain forms),
// then by the letters themselves without regard to case. This is a stable
// alphabetical order that is much faster than a full collator on the
// millions of lines a library holds.
namespace TextCompare {

// A UTF-16 unit in upper case: the case fold of every order of the program
// that ignores letter case.
inline char16_t upperUnit(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    return QChar(c).toUpper().unicode();
}

// By upper-cased UTF-16 units: the first that differ decide, and where
// none does the shorter text comes first.
int compareUpperCase(QStringView a, QStringView b);

// Case-insensitive order of catalog lines, keys and names; 0 means the two
// texts are the same line for the sorted lists.
int compareNoCase(QStringView a, QStringView b);

inline bool equalNoCase(QStringView a, QStringView b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

// compareNoCase on UTF-8 text, read as the UTF-16 code units QString would
// hold (a character above U+FFFF is two surrogate units, as in QString).
int compareNoCaseUtf8(QByteArrayView a, QByteArrayView b);

// The order of the sorted line lists: compareNoCase, then lines that differ
// only in letter case by their UTF-16 code units, so only equal lines
// compare 0.
int compareLines(QStringView a, QStringView b);
int compareLinesUtf8(QByteArrayView a, QByteArrayView b);
// The order of compareLinesUtf8 where it is already decided inside both
// texts, whatever may follow either of them; 0 where it is not.
int comparePrimaryWithin(QByteArrayView a, QByteArrayView b);

// A form of text in which two texts are equal exactly when compareNoCase
// finds them equal, for hashing lines and keys.
QString foldNoCase(QStringView text);
void foldInPlace(QString &text);
// Writes the folded form of text to out, which has room for it.
void foldInto(QStringView text, QChar *out);

// The tree's order: case-insensitive first, then lower case before upper
// case at equal letters, then by character code.
int compareTree(QStringView a, QStringView b);

// Equality of the letters A to Z only, other characters exact (the name
// checks of the category and catalog commands).
bool equalAsciiNoCase(QStringView a, QStringView b);

} // namespace TextCompare
