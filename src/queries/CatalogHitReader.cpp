#include "CatalogHitReader.h"

#include "CatalogLines.h"
#include "LineFields.h"
#include "LineMatcher.h"
#include "library/CatalogLibrary.h"
#include "library/Windows1252.h"

#include <QFileInfo>

CatalogHitReader::CatalogHitReader(const CatalogLibrary &library, std::unique_ptr<LineMatcher> matcher)
    : m_library(library), m_matcher(std::move(matcher))
{}

CatalogHitReader::~CatalogHitReader() = default;

CatalogHitReader::Hits CatalogHitReader::read(const QString &catalog, const std::atomic<bool> &stopped)
{
    Hits hits;
    const QString path = m_library.catalogFilePath(catalog);
    hits.exists = QFileInfo(path).isFile();
    if (hits.exists && m_stream.open(path))
        hits.read = searchFile(catalog, hits.lines, stopped);
    hits.lines.count(); // sorts them here, on this thread
    return hits;
}

// Reads the file piece by piece. A restart in Windows-1252 drops the lines
// found before. False when the file cannot be read.
bool CatalogHitReader::searchFile(const QString &catalog, SortedLineList &lines,
                                  const std::atomic<bool> &stopped)
{
    const QString name = CatalogLines::quotedName(catalog);
    LineFields scratch;
    const LineMatcher::Found found = [&](QStringView line) {
        lines.add(CatalogLines::resultLine(line, name, scratch));
    };
    QString decoded;
    while (!stopped) {
        switch (m_stream.next()) {
        case CatalogStream::Step::Piece:
            if (m_stream.isUtf8()) {
                m_matcher->findInUtf8(m_stream.piece(), found);
            } else {
                const QByteArrayView piece = m_stream.piece();
                decoded = Windows1252::decode(QByteArray::fromRawData(piece.data(), piece.size()));
                m_matcher->findIn(decoded, found);
            }
            break;
        case CatalogStream::Step::Restarted:
            lines.clear();
            break;
        case CatalogStream::Step::End:
            return true;
        case CatalogStream::Step::Failed:
            lines.clear();
            return false;
        }
    }
    return true;
}
