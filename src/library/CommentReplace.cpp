#include "CommentReplace.h"

#include "CatalogLibrary.h"
#include "CommaText.h"
#include "RunControl.h"
#include "TextFile.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// The bytes of a file that readers take as text: after a UTF-8 byte-order
// mark, up to the first NUL. What lies outside is written back untouched.
struct TextSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
};

TextSpan textSpan(const QByteArray &bytes)
{
    const auto *nul = static_cast<const char *>(std::memchr(bytes.constData(), 0, size_t(bytes.size())));
    const qsizetype end = nul ? nul - bytes.constData() : bytes.size();
    const bool bom = end >= 3 && bytes.startsWith("\xEF\xBB\xBF");
    return {bom ? 3 : 0, end};
}

// How one file's text is stored: UTF-8, or Windows-1252 when the file is
// not valid UTF-8 (written by the Windows version).
class Encoding
{
public:
    explicit Encoding(bool utf8) : m_utf8(utf8) {}

    QString decode(const char *bytes, qsizetype size) const
    {
        return m_utf8 ? QString::fromUtf8(bytes, size) : Windows1252::decode(QByteArray(bytes, size));
    }

    // False when the code page has no byte for one of the characters.
    bool encode(const QString &text, QByteArray &bytes) const
    {
        if (m_utf8) {
            bytes = text.toUtf8();
            return true;
        }
        bytes.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!Windows1252::fromUnicode(text[i], bytes[i]))
                return false;
        }
        return true;
    }

private:
    bool m_utf8;
};

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The line rebuilt with search replaced once in its comment, or a null
// text when the comment does not hold it. Anything but five fields is not
// an entry the program wrote: rebuilding it would shift fields, so it stays.
QString replacedLine(const QString &line, const QString &search, const QString &replacement)
{
    QStringList fields = CommaText::split(line);
    if (fields.size() != 5)
        return QString();
    QString &comment = fields[4];
    const qsizetype at = comment.indexOf(search);
    if (at < 0)
        return QString();
    comment.replace(at, search.size(), replacement);
    return CommaText::join(fields);
}

constexpr qsizetype kUnencodable = -1;

// Replaces in the comments of the text in span and returns how many lines
// changed; out then holds the whole new file. Only lines whose bytes hold
// the search text are decoded at all, as grep only looks closer at lines
// that hold its pattern. kUnencodable when a changed line has a character
// that the file's code page lacks.
qsizetype replaceInText(const QByteArray &in, TextSpan span, const Encoding &encoding, const QString &search,
                        const QString &replacement, QByteArray &out)
{
    QByteArray needle;
    if (!encoding.encode(search, needle))
        return 0; // no line of this file can hold it
    const std::boyer_moore_horspool_searcher searcher(needle.cbegin(), needle.cend());
    const char *data = in.constData();
    const char *const textEnd = data + span.end;
    qsizetype count = 0;
    qsizetype copied = 0;
    qsizetype pos = span.begin;
    while (pos < span.end) {
        const char *hit = std::search(data + pos, textEnd, searcher);
        if (hit == textEnd)
            break;
        qsizetype start = hit - data;
        while (start > pos && !isLineBreak(data[start - 1]))
            --start;
        qsizetype end = hit - data + needle.size();
        while (end < span.end && !isLineBreak(data[end]))
            ++end;
        pos = end;
        const QString line = replacedLine(encoding.decode(data + start, end - start), search, replacement);
        if (line.isNull())
            continue;
        QByteArray bytes;
        if (!encoding.encode(line, bytes))
            return kUnencodable;
        if (count == 0) {
            out.resize(0); // keeps the room of an earlier file
            out.reserve(in.size() + in.size() / 8);
        }
        out.append(data + copied, start - copied);
        out.append(bytes);
        copied = end;
        ++count;
    }
    if (count > 0)
        out.append(data + copied, in.size() - copied);
    return count;
}

qsizetype replaceInFile(const QByteArray &in, const QString &search, const QString &replacement,
                        QByteArray &out)
{
    const TextSpan span = textSpan(in);
    const bool utf8 = QByteArrayView(in).sliced(span.begin, span.end - span.begin).isValidUtf8();
    const qsizetype count = replaceInText(in, span, Encoding(utf8), search, replacement, out);
    if (count != kUnencodable)
        return count;
    // The new comment cannot be written in the old code page: the file
    // becomes UTF-8, as every file the program writes.
    out.resize(0);
    const QByteArray text = Windows1252::decode(in.sliced(span.begin, span.end - span.begin)).toUtf8();
    const QByteArray converted = in.first(span.begin) + text + in.sliced(span.end);
    const TextSpan convertedSpan{span.begin, span.begin + text.size()};
    return replaceInText(converted, convertedSpan, Encoding(true), search, replacement, out);
}

// Reads into bytes, whose room is kept from file to file: a fresh buffer
// for every catalog costs more in page faults than the search itself.
bool readFile(const QString &path, QByteArray &bytes, QString &reason)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        bytes.resize(file.size());
        const qint64 got = file.read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(got);
            bytes += file.readAll(); // whatever was added meanwhile
        }
        if (got >= 0 && file.error() == QFileDevice::NoError)
            return true;
    }
    reason = path + QStringLiteral(": ") + file.errorString();
    return false;
}

} // namespace

qsizetype CommentReplace::Result::total() const
{
    qsizetype sum = 0;
    for (const CatalogCount &c : changed)
        sum += c.replacements;
    return sum;
}

CommentReplace::CommentReplace(const CatalogLibrary &library) : m_library(library)
{
}

QStringList CommentReplace::catalogFiles() const
{
    const QDir dir(m_library.catalogsDir());
    QStringList paths;
    // Name filters ignore letter case unless told otherwise.
    for (const QString &entry :
         dir.entryList({QStringLiteral("*.TXT")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
        paths << dir.filePath(entry);
    return paths;
}

CommentReplace::Result CommentReplace::run(const QString &search, const QString &replacement,
                                           RunControl &control) const
{
    Result result;
    if (search.isEmpty() || replacement.isEmpty())
        return result;
    control.progress(QStringLiteral("Getting catalog list..."));
    const QStringList files = catalogFiles();
    if (files.isEmpty()) {
        result.outcome = Outcome::NoCatalogs;
        result.message = QStringLiteral("No catalogs exists!");
        return result;
    }
    // A comment is one line, so a text with a line break is in none.
    const bool findable = !search.contains(u'\r') && !search.contains(u'\n');
    result.outcome = Outcome::Finished;
    QByteArray bytes;
    QByteArray out;
    for (const QString &path : files) {
        if (!readFile(path, bytes, result.reason)) {
            result.outcome = Outcome::Failed;
            result.message = QStringLiteral("Cannot open file ") + path;
            break;
        }
        const QString fileName = QFileInfo(path).fileName();
        const QString name = fileName.first(fileName.size() - 4);
        control.progress(QStringLiteral("Searching ") + name + QStringLiteral(" catalog..."));
        const qsizetype count = findable ? replaceInFile(bytes, search, replacement, out) : 0;
        if (count == 0)
            continue;
        if (!TextFile::writeBytes(path, out, &result.reason)) {
            result.outcome = Outcome::Failed;
            result.message = QStringLiteral("Cannot create file ") + path;
            break;
        }
        result.changed.append({name, count});
    }
    control.progress(QStringLiteral("Finished"));
    return result;
}
