#pragma once

#include <QString>
#include <QStringList>

// The known name a mistyped one most likely meant, for "did you mean"
// hints: "tre" gives "tree", "serach" gives "search".
namespace CloseMatch {

// The candidate fewest edits away (a swap of two neighbours counts as one),
// when it is at most one edit away for names of up to four characters and
// two for longer ones; empty otherwise.
QString find(const QString &typed, const QStringList &candidates);

} // namespace CloseMatch
