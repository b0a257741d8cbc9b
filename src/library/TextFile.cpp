#include "TextFile.h"

#include "Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Bytes up to the end of their last complete line; the rest waits for the
// next read. UTF-8 never uses the line-break bytes inside a character, so a
// cut after one never splits a character, and a cut after LF never splits
// a CR LF pair.
qsizetype completeLinesEnd(const QByteArray &bytes)
{
    const qsizetype lf = bytes.lastIndexOf('\n');
    if (lf >= 0)
        return lf + 1;
    if (bytes.size() < 2)
        return 0;
    const qsizetype cr = bytes.lastIndexOf('\r', bytes.size() - 2);
    return cr >= 0 ? cr + 1 : 0;
}

// Reads the file in pieces of whole lines, so a large catalog never holds
// its bytes, its whole text and its lines at the same time. Returns false,
// as soon as it finds out, when the text is not valid UTF-8.
bool readSegments(QFile &file, QStringList &lines, bool utf8)
{
    constexpr qint64 kChunk = 1 << 20;
    QByteArray pending;
    bool first = true;
    bool atEnd = false;
    while (!atEnd) {
        QByteArray chunk = file.read(kChunk);
        atEnd = chunk.size() < kChunk;
        const qsizetype nul = chunk.indexOf('\0');
        if (nul >= 0) {
            chunk.truncate(nul); // a NUL ends the text
            atEnd = true;
        }
        pending += chunk;
        if (first && pending.size() >= 3) {
            if (pending.startsWith("\xEF\xBB\xBF"))
                pending.remove(0, 3);
            first = false;
        }
        const qsizetype end = atEnd ? pending.size() : completeLinesEnd(pending);
        if (end == 0)
            continue;
        const QByteArray piece = pending.left(end);
        pending.remove(0, end);
        QString text;
        if (utf8) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            text = decoder.decode(piece);
            if (decoder.hasError())
                return false;
        } else {
            text = Windows1252::decode(piece);
        }
        lines.append(TextFile::splitLines(text));
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

bool readText(const QString &path, QString &text, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    text = decode(file.readAll());
    return true;
}

bool readLines(const QString &path, QStringList &lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines.clear();
    if (readSegments(file, lines, true))
        return true;
    // Not UTF-8 after all: read the whole file again as Windows-1252.
    lines.clear();
    file.seek(0);
    readSegments(file, lines, false);
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    // Encoding in pieces of about a megabyte keeps large catalogs quick
    // without a second copy of the whole text.
    QByteArray bytes;
    QString piece;
    const auto flush = [&] {
        bytes += piece.toUtf8();
        piece.clear();
    };
    for (const QString &line : lines) {
        piece += line;
        piece += QLatin1String("\r\n");
        if (piece.size() >= (1 << 19))
            flush();
    }
    flush();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace TextFile
