#include "CatalogStream.h"

#include <cstring>

namespace {

// One past the last line break of bytes, looking only from position from
// on; 0 when there is none. Line breaks are plain ASCII in both UTF-8 and
// Windows-1252, so a cut there never splits a character. A CR LF pair split
// by the cut reads as a line and an empty one, and an empty line is never a
// result.
qsizetype afterLastBreak(QByteArrayView bytes, qsizetype from)
{
    for (qsizetype i = bytes.size(); i > from; --i) {
        if (bytes[i - 1] == '\n' || bytes[i - 1] == '\r')
            return i;
    }
    return 0;
}

} // namespace

CatalogStream::CatalogStream(qsizetype pieceBytes) : m_pieceBytes(pieceBytes)
{}

bool CatalogStream::open(const QString &path)
{
    m_file.close();
    m_file.setFileName(path);
    m_utf8 = true;
    rewind();
    return m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void CatalogStream::rewind()
{
    m_used = 0;
    m_handed = 0;
    m_scanned = 0;
    m_piece = QByteArrayView();
    m_first = true;
    m_atEnd = false;
}

// Reads more bytes behind what is left of the last piece; false on a read
// error.
bool CatalogStream::fill()
{
    if (m_handed > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_handed, size_t(m_used - m_handed));
        m_used -= m_handed;
        m_handed = 0;
    }
    // Room for a piece behind the rest of a line; a line longer than that
    // doubles the room, so a huge line is read in few steps.
    if (m_buffer.size() < m_used + m_pieceBytes)
        m_buffer.resize(qMax(m_used + m_pieceBytes, 2 * qMax(m_buffer.size(), m_pieceBytes)));
    const qint64 got = m_file.read(m_buffer.data() + m_used, m_pieceBytes);
    if (got < 0 || m_file.error() != QFileDevice::NoError)
        return false;
    const qsizetype start = m_used;
    m_used += got;
    m_atEnd = got == 0;
    const void *nul = std::memchr(m_buffer.constData() + start, 0, size_t(got));
    if (nul) {
        m_used = static_cast<const char *>(nul) - m_buffer.constData();
        m_atEnd = true;
    }
    if (m_first && (m_used >= 3 || m_atEnd)) {
        m_first = false;
        if (QByteArrayView(m_buffer.constData(), m_used).startsWith("\xEF\xBB\xBF")) {
            m_handed = 3;
            m_scanned = 0;
        }
    }
    return true;
}

CatalogStream::Step CatalogStream::next()
{
    for (;;) {
        const QByteArrayView held(m_buffer.constData() + m_handed, m_used - m_handed);
        const qsizetype cut = m_atEnd ? held.size() : afterLastBreak(held, m_scanned);
        if (cut > 0) {
            m_piece = held.first(cut);
            m_handed += cut;
            m_scanned = held.size() - cut;
            if (m_utf8 && !m_piece.isValidUtf8()) {
                m_utf8 = false;
                rewind();
                return m_file.seek(0) ? Step::Restarted : Step::Failed;
            }
            return Step::Piece;
        }
        if (m_atEnd)
            return Step::End;
        m_scanned = held.size();
        if (!fill())
            return Step::Failed;
    }
}
