#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Deterministic catalog lines that go out of their way to be awkward: quotes,
// commas and blanks in names, accented and non-Latin letters (some whose
// lower case is plain ASCII, some outside the BMP), names that differ only
// in letter case, files shared between catalogs, very long paths, short and
// malformed lines. For tests that compare two ways of doing the same work
// line for line.
namespace HostileCatalog {

// count catalog lines; the same seed gives the same lines. Catalogs made
// with different seeds share some entries (same name, size and date).
QStringList lines(quint32 seed, int count);

// The file bytes of lines as UTF-8, with CR LF, LF and lone CR endings
// mixed, and a final line break or not, as the seed decides.
QByteArray fileBytes(quint32 seed, const QStringList &lines);

// Words that occur often in the generated names, paths and comments.
QStringList frequentWords();

// Line lengths in UTF-8 bytes at and one either side of every size where
// the line stores, readers and writers change how they hold a line: the
// compact list's first block, a third and all of the line that gets a
// block of its own, the writers' pieces, the readers' megabyte and the
// largest block.
QList<qsizetype> boundarySizes();

// An entry line of exactly bytes UTF-8 bytes (at least 64) named name,
// whose comment fills it with the word "needle", doubled quotes, commas and
// characters of two, three and four bytes, so any cut may fall inside one.
QString longLine(const QString &name, qsizetype bytes);

} // namespace HostileCatalog
