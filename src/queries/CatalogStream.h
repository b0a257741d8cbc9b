#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// Reads a catalog file as a stream of pieces of whole lines, so that a
// search holds a piece of a catalog rather than all of it. Decodes by the
// same rules as TextFile::readText: a leading byte order mark is skipped,
// a NUL ends the text, and a file that is not valid UTF-8 anywhere is read
// as Windows-1252 throughout. That last rule can only be known once the
// bad bytes are met, so the stream then starts over from the beginning in
// Windows-1252 and says so (Step::Restarted): whatever the reader took from
// the earlier pieces must be dropped.
class CatalogStream
{
public:
    enum class Step { Piece, Restarted, End, Failed };

    explicit CatalogStream(qsizetype pieceBytes = 1 << 20);

    // False when the file cannot be opened.
    bool open(const QString &path);
    // Reads the next piece; Piece leaves it in piece().
    Step next();

    // Whole lines: a piece ends after a line break or at the end of the
    // text. Valid UTF-8 while isUtf8().
    QByteArrayView piece() const { return m_piece; }
    bool isUtf8() const { return m_utf8; }

private:
    void rewind();
    bool fill();

    QFile m_file;
    qsizetype m_pieceBytes;
    QByteArray m_buffer;
    qsizetype m_used = 0;    // bytes of m_buffer that hold text
    qsizetype m_handed = 0;  // bytes at its front already handed out
    qsizetype m_scanned = 0; // bytes after those known to hold no line break
    QByteArrayView m_piece;
    bool m_utf8 = true;
    bool m_first = true;
    bool m_atEnd = false;
};
