#include "CatalogHitReader.h"

#include "CatalogLines.h"
#include "LineFields.h"
#include "LineMatcher.h"
#include "library/CatalogLibrary.h"
#include "library/SortedLineList.h"
#include "library/Windows1252.h"

#include <QFileInfo>

CatalogHitReader::CatalogHitReader(const CatalogLibrary &library, std::unique_ptr<LineMatcher> matcher)
    : m_library(library), m_matcher(std::move(matcher))
{}

CatalogHitReader::~CatalogHitReader() = default;

CatalogHitReader::Hits CatalogHitReader::read(const QString &catalog, const std::atomic<bool> &stopped)
{
    Hits hits;
    hits.lines = ResultRun(',' + CatalogLines::quotedName(catalog).toUtf8());
    const QString path = m_library.catalogFilePath(catalog);
    hits.exists = QFileInfo(path).isFile();
    if (hits.exists && m_stream.open(path))
        hits.read = searchFile(hits.lines, stopped);
    hits.lines.finish(m_order); // sorts them here, on this thread
    return hits;
}

void CatalogHitReader::addHit(ResultRun &lines, QByteArrayView line)
{
    if (CatalogLines::resultHeadUtf8(line, m_head))
        lines.add(m_head);
}

// Reads the file piece by piece. A restart in Windows-1252 drops the lines
// found before. False when the file cannot be read.
bool CatalogHitReader::searchFile(ResultRun &lines, const std::atomic<bool> &stopped)
{
    const LineMatcher::FoundUtf8 foundUtf8 = [&](QByteArrayView line) { addHit(lines, line); };
    const LineMatcher::Found found = [&](QStringView line) {
        m_encoded.resize(0);
        SortedLineList::appendEncoded(m_encoded, line);
        addHit(lines, m_encoded);
    };
    QString decoded;
    while (!stopped) {
        switch (m_stream.next()) {
        case CatalogStream::Step::Piece:
            if (m_stream.isUtf8()) {
                m_matcher->findLinesInUtf8(m_stream.piece(), foundUtf8);
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
