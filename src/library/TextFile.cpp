#include "TextFile.h"

#include "SafeFileWriter.h"
#include "SortedLineList.h"
#include "Windows1252.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Where the last complete line of bytes ends, looking for line breaks only
// from position from on; 0 when there is none. UTF-8 never uses the
// line-break bytes inside a character, so a cut after one never splits a
// character, and a cut after LF never splits a CR LF pair. A CR in the last
// byte waits: its LF may come with the next read.
qsizetype completeLinesEnd(const QByteArray &bytes, qsizetype from)
{
    const char *fresh = bytes.constData() + from;
    const size_t size = size_t(bytes.size() - from);
    if (const auto *lf = static_cast<const char *>(memrchr(fresh, '\n', size)))
        return lf - bytes.constData() + 1;
    if (size < 2)
        return 0;
    const auto *cr = static_cast<const char *>(memrchr(fresh, '\r', size - 1));
    return cr ? cr - bytes.constData() + 1 : 0;
}

// Splits decoded text into lines; a text that is one line, with or without
// its line break, is moved, not copied, so a huge damaged line costs its
// size once.
void appendLines(QString &&text, QStringList &lines)
{
    qsizetype end = text.size();
    if (text.endsWith(QLatin1String("\r\n")))
        end -= 2;
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        --end;
    const QStringView line = QStringView(text).first(end);
    if (line.contains(u'\r') || line.contains(u'\n')) {
        lines.append(TextFile::splitLines(text));
        return;
    }
    if (text.isEmpty())
        return;
    text.truncate(end);
    lines.append(std::move(text));
}

enum class ReadOutcome { Read, NotUtf8, Failed };

// Replaces a file with what fill writes to it (through write(QByteArrayView),
// which returns false on failure); the old file stays whole unless every
// byte reached the disk.
template <typename Fill>
bool writeThrough(const TextFile::Destination &destination, Fill fill, QString *error)
{
    SafeFileWriter file(destination.path, destination.modelPath);
    const auto write = [&file](QByteArrayView bytes) { return file.write(bytes); };
    const bool ok = file.open() && fill(write) && file.commit();
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(destination.shownPath, file.errorString());
    return ok;
}

QString readFailure(const QString &path, const QFile &file)
{
    return QStringLiteral("%1: %2").arg(path, file.errorString());
}

// Reads the file in pieces of whole lines, so a large catalog never holds
// its bytes, its whole text and its lines at the same time. Each byte is
// searched for line breaks once, so a single long line reads in linear
// time. Each piece goes to take(QByteArray &&), which returns false when
// the piece is not valid UTF-8 in a UTF-8 read; the read stops there.
template <typename TakePiece>
ReadOutcome readSegments(QFile &file, TakePiece take)
{
    constexpr qint64 kChunk = 1 << 20;
    QByteArray pending;
    qsizetype searched = 0; // pending bytes before this hold no line break
    bool first = true;
    bool atEnd = false;
    while (!atEnd) {
        // Read straight onto the end of what waits, each byte copied once.
        const qsizetype kept = pending.size();
        pending.resize(kept + kChunk);
        const qint64 got = file.read(pending.data() + kept, kChunk);
        if (got < 0 || file.error() != QFileDevice::NoError)
            return ReadOutcome::Failed;
        pending.resize(kept + got);
        atEnd = got < kChunk;
        const auto *nul = static_cast<const char *>(std::memchr(pending.constData() + kept, 0, size_t(got)));
        if (nul) {
            pending.truncate(nul - pending.constData()); // a NUL ends the text
            atEnd = true;
        }
        if (first && (pending.size() >= 3 || atEnd)) {
            if (pending.startsWith("\xEF\xBB\xBF"))
                pending.remove(0, 3);
            first = false;
        }
        const qsizetype end = atEnd ? pending.size() : completeLinesEnd(pending, searched);
        if (end == 0) {
            searched = qMax<qsizetype>(0, pending.size() - 1);
            // A line longer than a piece: room for the rest of the file at
            // once, rather than growing step by step.
            if (pending.capacity() < pending.size() + kChunk)
                pending.reserve(pending.size() + qMax<qint64>(kChunk, file.size() - file.pos()));
            continue;
        }
        QByteArray piece;
        if (end == pending.size()) {
            piece.swap(pending);
        } else {
            piece = pending.left(end);
            pending.remove(0, end);
        }
        searched = 0;
        if (!take(std::move(piece)))
            return ReadOutcome::NotUtf8;
    }
    return ReadOutcome::Read;
}

// Each piece decoded on its own. The decoder takes a U+FEFF at the start of
// the text for a byte order mark; only the file's first piece can have one,
// so in a later piece it is a character of the line that begins there.
bool takeTextPiece(QByteArray &&piece, QStringList &lines, bool utf8, bool firstPiece)
{
    QString text;
    if (utf8) {
        const auto flags = firstPiece
                               ? QStringDecoder::Flag::Stateless
                               : QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
        QStringDecoder decoder(QStringDecoder::Utf8, flags);
        text = decoder.decode(piece);
        if (decoder.hasError())
            return false;
    } else {
        text = Windows1252::decode(piece);
    }
    piece = QByteArray();
    appendLines(std::move(text), lines);
    return true;
}

// Splits UTF-8 bytes at CR LF, lone CR and lone LF into lines of the list,
// as splitLines does with text.
void appendLineBytes(QByteArrayView bytes, SortedLineList &lines)
{
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    const char *lf = nullptr; // the next LF at or after p, once looked for
    while (p < end) {
        if (!lf || lf < p)
            lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *stop = lf ? lf : end;
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(stop - p)));
        if (cr) {
            lines.addUtf8(QByteArrayView(p, cr - p));
            p = (cr + 1 == lf) ? lf + 1 : cr + 1;
        } else if (lf) {
            lines.addUtf8(QByteArrayView(p, lf - p));
            p = lf + 1;
        } else {
            lines.addUtf8(QByteArrayView(p, end - p));
            p = end;
        }
    }
}

// A piece that is one long line and its line break is handed to the list
// whole, its bytes taken over rather than copied; false for any other piece.
bool takeLongLine(QByteArray &piece, SortedLineList &lines)
{
    constexpr qsizetype kLongLine = 1 << 20;
    if (piece.size() < kLongLine)
        return false;
    qsizetype size = piece.size();
    if (piece.endsWith("\r\n"))
        size -= 2;
    else if (piece.endsWith('\n') || piece.endsWith('\r'))
        --size;
    const QByteArrayView line = QByteArrayView(piece).first(size);
    if (line.contains('\n') || line.contains('\r'))
        return false;
    piece.truncate(size);
    lines.addUtf8(std::move(piece));
    return true;
}

// Windows-1252 bytes as UTF-8, converted a piece at a time, so a huge line
// is never held as text.
QByteArray windows1252ToUtf8(const QByteArray &bytes)
{
    constexpr qsizetype kStep = 1 << 20;
    QByteArray utf8;
    utf8.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += kStep)
        utf8 += Windows1252::decode(bytes.sliced(at, qMin(kStep, bytes.size() - at))).toUtf8();
    return utf8;
}

// The UTF-8 bytes are kept as they are; a Windows-1252 piece is turned
// into UTF-8 first.
bool takeBytePiece(QByteArray &&piece, SortedLineList &lines, bool utf8, bool firstPiece)
{
    if (!utf8) {
        QByteArray converted = windows1252ToUtf8(piece);
        piece = QByteArray();
        if (!takeLongLine(converted, lines))
            appendLineBytes(converted, lines);
        return true;
    }
    if (!QByteArrayView(piece).isValidUtf8())
        return false;
    // As the text reader: a second mark at the very start of the file is
    // dropped too.
    QByteArrayView bytes(piece);
    if (firstPiece && bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    else if (takeLongLine(piece, lines))
        return true;
    appendLineBytes(bytes, lines);
    return true;
}

// Where the bytes of a read can be cut so that each part decodes on its
// own: before the lead byte of a character the bytes may not hold whole.
qsizetype wholeCharactersEnd(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0 && i >= bytes.size() - 4; --i) {
        const auto byte = uchar(bytes[i]);
        if ((byte & 0xC0) != 0x80)
            return byte >= 0xC0 ? i : bytes.size();
    }
    return bytes.size();
}

// Reads the file's text, decoded a megabyte at a time straight into the
// text, so that its bytes and its text are never both held whole. By the
// rules of TextFile::decode: a NUL ends the text and a leading byte order
// mark is dropped.
ReadOutcome readDecoded(QFile &file, QString &text, bool utf8)
{
    constexpr qint64 kChunk = 1 << 20;
    text = QString(qMax<qint64>(file.size(), 0), Qt::Uninitialized);
    qsizetype length = 0;
    QByteArray bytes;
    bool first = true;
    bool atEnd = false;
    while (!atEnd) {
        const qsizetype kept = bytes.size();
        bytes.resize(kept + kChunk);
        const qint64 got = file.read(bytes.data() + kept, kChunk);
        if (got < 0 || file.error() != QFileDevice::NoError)
            return ReadOutcome::Failed;
        bytes.resize(kept + got);
        atEnd = got < kChunk;
        const auto *nul = static_cast<const char *>(std::memchr(bytes.constData() + kept, 0, size_t(got)));
        if (nul) {
            bytes.truncate(nul - bytes.constData());
            atEnd = true;
        }
        if (first && bytes.size() < 3 && !atEnd)
            continue;
        const bool firstPiece = std::exchange(first, false);
        if (firstPiece && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        const qsizetype cut = !utf8 || atEnd ? bytes.size() : wholeCharactersEnd(bytes);
        const QByteArrayView piece = QByteArrayView(bytes).first(cut);
        if (text.size() < length + cut)
            text.resize(length + cut);
        if (utf8) {
            // Only the text's start may drop a byte order mark.
            const auto flags =
                firstPiece ? QStringDecoder::Flag::Stateless
                           : QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
            QStringDecoder decoder(QStringDecoder::Utf8, flags);
            length = decoder.appendToBuffer(text.data() + length, piece) - text.constData();
            if (decoder.hasError())
                return ReadOutcome::NotUtf8;
        } else {
            const QString decoded = Windows1252::decode(piece.toByteArray());
            std::copy(decoded.cbegin(), decoded.cend(), text.begin() + length);
            length += decoded.size();
        }
        bytes.remove(0, cut);
    }
    text.truncate(length);
    return ReadOutcome::Read;
}

// Reads a file in a first pass as UTF-8; when it is not, reads the whole
// file again as Windows-1252 into an emptied list.
template <typename List>
bool readWhole(const QString &path, List &lines, QString *error,
               bool (*takePiece)(QByteArray &&, List &, bool utf8, bool firstPiece))
{
    QFile file(path);
    lines.clear();
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = readFailure(path, file);
        return false;
    }
    const auto reader = [&](bool utf8) {
        bool first = true;
        return readSegments(file, [&](QByteArray &&piece) {
            return takePiece(std::move(piece), lines, utf8, std::exchange(first, false));
        });
    };
    ReadOutcome outcome = reader(true);
    if (outcome == ReadOutcome::NotUtf8) {
        // Not UTF-8 after all: read the whole file again as Windows-1252.
        lines.clear();
        outcome = file.seek(0) ? reader(false) : ReadOutcome::Failed;
    }
    if (outcome == ReadOutcome::Failed) {
        lines.clear();
        if (error)
            *error = readFailure(path, file);
        return false;
    }
    return true;
}

} // namespace

namespace TextFile {

QString decode(const QByteArray &raw)
{
    QByteArray bytes = raw;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Windows1252::decode(bytes);
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

bool readBytes(const QString &path, QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    if (error)
        *error = readFailure(path, file);
    return false;
}

bool readText(const QString &path, QString &text, QString *error)
{
    QFile file(path);
    QString read;
    ReadOutcome outcome = ReadOutcome::Failed;
    if (file.open(QIODevice::ReadOnly)) {
        outcome = readDecoded(file, read, true);
        // Not UTF-8 after all: the whole file is Windows-1252.
        if (outcome == ReadOutcome::NotUtf8)
            outcome = file.seek(0) ? readDecoded(file, read, false) : ReadOutcome::Failed;
    }
    if (outcome != ReadOutcome::Read) {
        if (error)
            *error = readFailure(path, file);
        return false;
    }
    text = std::move(read);
    return true;
}

bool readLines(const QString &path, QStringList &lines, QString *error)
{
    return readWhole(path, lines, error, &takeTextPiece);
}

bool readLines(const QString &path, SortedLineList &lines, QString *error)
{
    return readWhole(path, lines, error, &takeBytePiece);
}

Destination Destination::replacing(const QString &path)
{
    const QString target = SafeFileWriter::finalTarget(path);
    return {target, target, path};
}

Destination Destination::staged(const QString &path, const QString &target)
{
    return {path, SafeFileWriter::finalTarget(target), path};
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeLines(Destination::replacing(path), lines, error);
}

bool writeLines(const Destination &destination, const QStringList &lines, QString *error)
{
    return writeThrough(
        destination,
        [&lines](const auto &write) {
            // Encoded in pieces of about half a million characters: large
            // catalogs stay quick, and neither the whole text nor a second
            // copy of a huge line is ever held.
            constexpr qsizetype kPiece = 1 << 19;
            QString piece;
            const auto flush = [&] {
                const QByteArray bytes = piece.toUtf8();
                piece.clear();
                return write(bytes);
            };
            for (const QString &line : lines) {
                QStringView rest(line);
                while (rest.size() >= kPiece) {
                    // A surrogate pair is never parted.
                    const qsizetype size = rest[kPiece - 1].isHighSurrogate() ? kPiece - 1 : kPiece;
                    if (!flush())
                        return false;
                    piece = rest.first(size).toString();
                    rest = rest.sliced(size);
                }
                piece += rest;
                piece += QLatin1String("\r\n");
                if (piece.size() >= kPiece && !flush())
                    return false;
            }
            return flush();
        },
        error);
}

bool writeLineList(const QString &path, const SortedLineList &lines, QString *error)
{
    return writeLineList(Destination::replacing(path), lines, error);
}

bool writeLineList(const Destination &destination, const SortedLineList &lines, QString *error)
{
    return writeThrough(
        destination,
        [&lines](const auto &write) {
            constexpr qsizetype kPiece = 1 << 20;
            QByteArray piece;
            piece.reserve(kPiece + 4096);
            const auto flush = [&] {
                const bool written = write(piece);
                piece.clear();
                return written;
            };
            for (qsizetype i = 0; i < lines.count(); ++i) {
                const QByteArrayView line = lines.utf8At(i);
                // QString writes a lone surrogate as '?'; so does this.
                if (SortedLineList::holdsLoneSurrogate(line))
                    piece += SortedLineList::decode(line).toUtf8();
                else
                    piece += line;
                piece += "\r\n";
                if (piece.size() >= kPiece && !flush())
                    return false;
            }
            return flush();
        },
        error);
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    return writeBytes(Destination::replacing(path), bytes, error);
}

bool writeBytes(const Destination &destination, const QByteArray &bytes, QString *error)
{
    return writeThrough(
        destination, [&bytes](const auto &write) { return write(bytes); }, error);
}

} // namespace TextFile
