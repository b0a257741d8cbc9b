#include "FileNameText.h"

#include "Windows1252.h"

#include <QStringList>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Length of the valid UTF-8 sequence at bytes[i] with its code point in cp,
// or 0 when the bytes there are not one (overlong forms and surrogates are
// not UTF-8).
int utf8Sequence(const unsigned char *bytes, qsizetype size, qsizetype i, char32_t &cp)
{
    const unsigned char lead = bytes[i];
    int length;
    char32_t least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = bytes[i + k];
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

bool exists(const QByteArray &path)
{
    struct stat st;
    return lstat(path.constData(), &st) == 0;
}

bool toWindows1252(const QString &text, QByteArray &bytes)
{
    bytes.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!Windows1252::fromUnicode(text.at(i), bytes[i]))
            return false;
    }
    return true;
}

// The entry of dir whose text is name, found by reading the directory.
bool findEntry(const QByteArray &dir, const QString &name, QByteArray &entryName)
{
    DIR *handle = opendir(dir.isEmpty() ? "/" : dir.constData());
    if (!handle)
        return false;
    bool found = false;
    while (dirent *entry = readdir(handle)) {
        if (FileNameText::fromNative(QByteArray(entry->d_name)) == name) {
            entryName = entry->d_name;
            found = true;
            break;
        }
    }
    closedir(handle);
    return found;
}

// The bytes of one part of a path below the existing directory parent.
bool resolvePart(const QByteArray &parent, const QString &part, QByteArray &bytes)
{
    const QByteArray prefix = parent + '/';
    bytes = part.toUtf8();
    if (exists(prefix + bytes))
        return true;
    if (toWindows1252(part, bytes) && exists(prefix + bytes))
        return true;
    return findEntry(parent, part, bytes);
}

} // namespace

namespace FileNameText {

QString fromNative(const char *raw, qsizetype size)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(raw);
    qsizetype ascii = 0;
    while (ascii < size && bytes[ascii] < 0x80)
        ++ascii;
    if (ascii == size)
        return QString::fromLatin1(raw, size); // most names
    QString text;
    text.reserve(size);
    text.append(QLatin1String(raw, ascii));
    for (qsizetype i = ascii; i < size;) {
        if (bytes[i] < 0x80) {
            text += QChar(bytes[i++]);
            continue;
        }
        char32_t cp = 0;
        const int length = utf8Sequence(bytes, size, i, cp);
        if (length == 0) {
            text += Windows1252::toUnicode(bytes[i++]);
            continue;
        }
        if (QChar::requiresSurrogates(cp)) {
            text += QChar(QChar::highSurrogate(cp));
            text += QChar(QChar::lowSurrogate(cp));
        } else {
            text += QChar(char16_t(cp));
        }
        i += length;
    }
    return text;
}

QString fromNative(const QByteArray &bytes)
{
    return fromNative(bytes.constData(), bytes.size());
}

QByteArray toNative(const QString &path)
{
    const QByteArray utf8 = path.toUtf8();
    if (!path.startsWith(u'/') || exists(utf8))
        return utf8;
    QByteArray resolved; // empty stands for the root directory
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        QByteArray bytes;
        if (!resolvePart(resolved, part, bytes))
            return utf8;
        resolved += '/' + bytes;
    }
    if (path.endsWith(u'/') && !resolved.isEmpty())
        resolved += '/';
    return resolved.isEmpty() ? utf8 : resolved;
}

} // namespace FileNameText
