#include "FolderLister.h"

#include "WildcardMatch.h"
#include "library/CommaText.h"
#include "library/FileNameText.h"
#include "library/SortedLineList.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

using CommaText::appendField;

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// What follows a file's date in each of its directory's lines: the path
// field and the empty comment, escaped and encoded once for all of them.
QByteArray directoryTail(const QString &path)
{
    QString tail = QStringLiteral(",");
    appendField(tail, path);
    tail += QLatin1String(",\"\"");
    return SortedLineList::encode(tail);
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

// appendField on UTF-8: quotes, CR and LF are single bytes that no
// multi-byte character holds, so the bytes can be escaped as they are.
void appendFieldUtf8(QByteArray &line, QByteArrayView field)
{
    line += '"';
    qsizetype plain = 0;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '"' && c != '\r' && c != '\n')
            continue;
        line += field.sliced(plain, i - plain);
        line += c == '"' ? QByteArrayView("\"\"") : QByteArrayView(" ");
        plain = i + 1;
    }
    line += field.sliced(plain);
    line += '"';
}

} // namespace

FolderLister::FolderLister(const ScanOptions &options, const QStringList &masks, const DateFormats &formats)
    : m_options(options), m_masks(masks), m_stamps(formats)
{}

bool FolderLister::acceptsFile(const QString &name, mode_t mode) const
{
    if (!m_options.hiddenFiles && name.startsWith(u'.'))
        return false;
    if (!m_options.systemFiles && !S_ISREG(mode))
        return false;
    if (!m_options.readOnlyFiles && !(mode & S_IWUSR))
        return false;
    return true;
}

bool FolderLister::passesMasks(const QString &name) const
{
    return m_masks.isEmpty() || PassesMasks(m_masks, name);
}

FolderLister::Listing FolderLister::list(const QString &text, const QByteArray &native)
{
    Listing listing;
    DIR *dir = opendir(native.constData());
    if (!dir)
        return listing;
    const QByteArray tail = directoryTail(text);
    while (dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        if (isDotOrDotDot(name) || entry->d_type == DT_DIR || (name[0] == '.' && !m_options.hiddenFiles))
            continue;
        struct stat st = {};
        if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
            continue;
        const QByteArrayView nameBytes(name, qsizetype(strlen(name)));
        File file;
        file.name = FileNameText::fromNative(nameBytes.data(), nameBytes.size());
        if (!acceptsFile(file.name, st.st_mode))
            continue;
        file.zip = m_options.zipContents && S_ISREG(st.st_mode) &&
                   FileExtension(file.name).compare(QLatin1String(".zip"), Qt::CaseInsensitive) == 0;
        if (file.zip)
            file.native = name;
        if (passesMasks(file.name)) {
            file.lineStart = listing.lines.size();
            // ASCII bytes are their own text; other names are encoded
            // from their text, which may read bytes as Windows-1252.
            if (isAscii(nameBytes))
                appendLine(listing.lines, nameBytes, st, tail);
            else
                appendLine(listing.lines, SortedLineList::encode(file.name), st, tail);
            file.lineSize = listing.lines.size() - file.lineStart;
        }
        listing.files.push_back(std::move(file));
    }
    closedir(dir);
    // The lines are held as they are until the catalog is written: no room
    // to spare.
    listing.lines.squeeze();
    return listing;
}

// The same line CommaText::join makes of the five fields, in UTF-8, written
// straight after the lines before it: this runs for every file of the scan.
void FolderLister::appendLine(QByteArray &lines, QByteArrayView name, const struct stat &st,
                              const QByteArray &tail)
{
    appendFieldUtf8(lines, name);
    lines += ',';
    appendFieldUtf8(lines, QByteArray::number(qint64(st.st_size)));
    lines += ',';
    appendFieldUtf8(lines, SortedLineList::encode(m_stamps.format(st.st_mtim.tv_sec)));
    lines += tail;
}
