#pragma once

#include <QStringView>

// Plain glob matching of a whole text: "*" takes any run of characters,
// also none, "?" exactly one (a surrogate pair is one character); letter
// case significant. A star of the pattern stays a wildcard even where the
// text holds a "*" of its own.
bool GlobMatch(QStringView text, QStringView pattern);
