#pragma once

#include "CatalogStream.h"
#include "library/SortedLineList.h"
#include "library/Windows1252.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstring>

// Hands the lines of a catalog file to a visitor piece by piece, as UTF-8,
// so that a run over a whole library holds a piece of a catalog at a time.
namespace CatalogFileLines {

enum class Read { Done, Failed, Stopped };

// The first CR or LF from p on, or end. memchr looks at many bytes a step,
// where a test of each byte would take a fifth of a whole run; the CR is
// only looked for up to the LF, so a file of bare LFs costs no more.
inline const char *nextLineBreak(const char *p, const char *end)
{
    const auto *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    const char *limit = lf ? lf : end;
    const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(limit - p)));
    return cr ? cr : limit;
}

// Hands every line of a piece of whole lines to visit; the empty "line"
// between CR and LF holds no entry and is passed over.
template <typename Visit>
void forEachLine(QByteArrayView piece, const Visit &visit)
{
    const char *p = piece.data();
    const char *const end = p + piece.size();
    while (p < end) {
        const char *lineEnd = nextLineBreak(p, end);
        if (lineEnd > p)
            visit(QByteArrayView(p, lineEnd));
        p = lineEnd + 1;
    }
}

// Reads a catalog file and hands it to visitPiece as UTF-8, a piece of
// whole lines at a time, by the rules of TextFile::readText (a file that
// is not UTF-8 is Windows-1252). restart() is called when the stream starts
// over in Windows-1252: the lines handed over so far are to be forgotten.
// keepGoing() is asked after every piece, so that a large catalog can be
// left half read.
template <typename VisitPiece, typename Restart, typename KeepGoing>
Read readPieces(const QString &path, const VisitPiece &visitPiece, const Restart &restart,
                const KeepGoing &keepGoing)
{
    CatalogStream stream;
    if (!stream.open(path))
        return Read::Failed;
    QByteArray converted;
    for (;;) {
        switch (stream.next()) {
        case CatalogStream::Step::Piece:
            if (stream.isUtf8()) {
                visitPiece(stream.piece());
            } else {
                const QByteArrayView piece = stream.piece();
                converted = SortedLineList::encode(
                    Windows1252::decode(QByteArray::fromRawData(piece.data(), piece.size())));
                visitPiece(QByteArrayView(converted));
            }
            if (!keepGoing())
                return Read::Stopped;
            break;
        case CatalogStream::Step::Restarted:
            restart();
            break;
        case CatalogStream::Step::End:
            return Read::Done;
        case CatalogStream::Step::Failed:
            return Read::Failed;
        }
    }
}

// The same, handing every line to visit.
template <typename Visit, typename Restart, typename KeepGoing>
Read read(const QString &path, const Visit &visit, const Restart &restart, const KeepGoing &keepGoing)
{
    return readPieces(
        path, [&visit](QByteArrayView piece) { forEachLine(piece, visit); }, restart, keepGoing);
}

// The same, read to its end: true when the whole file was read.
template <typename Visit, typename Restart>
bool readWhole(const QString &path, const Visit &visit, const Restart &restart)
{
    return read(path, visit, restart, [] { return true; }) == Read::Done;
}

} // namespace CatalogFileLines
