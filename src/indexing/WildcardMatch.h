#pragma once

#include <QStringList>
#include <QStringView>

// The "*" and "?" matcher and the extension-mask test used by indexing runs,
// the catalog search and the mask lists (the table search matches cells
// with CellWildcardMatch).

// Matches text against a pattern of "*" (any run of characters) and "?" (one
// character), letter case significant; text and pattern are compared whole,
// however long.
// A remaining pattern of exactly "*" matches an empty text, while "**", "?"
// or "*.*" do not.
bool WildcardMatch(QStringView text, QStringView pattern);

// True when the mask holds at least one "?".
bool HasQuestionMark(QStringView mask);

// The extension of a name: from its last "." to the end, when that dot comes
// after every "/", "\" and ":"; otherwise empty. The dot is included.
QStringView FileExtension(QStringView fileName);

// Tests a file name against one extension mask ("*.txt", "*.htm?", "*").
// Only the name's extension is compared, never the rest of the name.
bool MaskAccepts(QStringView mask, QStringView fileName);

// True when at least one of the masks accepts the name. Whether a run applies
// its masks at all (an empty list takes every file) is the caller's choice.
bool PassesMasks(const QStringList &masks, QStringView fileName);
