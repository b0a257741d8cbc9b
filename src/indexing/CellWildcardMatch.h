#pragma once

#include <QStringView>

// The table search's "Wild Cards" match of a whole cell, plain globbing:
// "*" takes any run of characters, also none, "?" exactly one (a surrogate
// pair is one character); letter case significant. A star of the pattern
// stays a wildcard even where the text holds a "*" of its own. Masks and
// the catalog search use WildcardMatch, which differs at the pattern's end.
bool CellWildcardMatch(QStringView text, QStringView pattern);
