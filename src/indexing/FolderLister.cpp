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
// field and the empty comment, escaped once for all of them.
QString directoryTail(const QString &path)
{
    QString tail = QStringLiteral(",");
    appendField(tail, path);
    tail += QLatin1String(",\"\"");
    return tail;
}

// Room that grows by doubling: the encoder reserves only what one line
// needs, which would copy the directory's lines again for every file.
void appendLine(FolderLister::Listing &listing, FolderLister::File &file, const QString &line)
{
    QByteArray &lines = listing.lines;
    const qsizetype needed = lines.size() + 3 * line.size();
    if (lines.capacity() < needed)
        lines.reserve(2 * needed);
    file.lineStart = lines.size();
    SortedLineList::appendEncoded(lines, line);
    file.lineSize = lines.size() - file.lineStart;
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
    const QString tail = directoryTail(text);
    while (dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        if (isDotOrDotDot(name) || entry->d_type == DT_DIR || (name[0] == '.' && !m_options.hiddenFiles))
            continue;
        struct stat st = {};
        if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
            continue;
        File file;
        file.name = FileNameText::fromNative(name, qsizetype(strlen(name)));
        if (!acceptsFile(file.name, st.st_mode))
            continue;
        file.zip = m_options.zipContents && S_ISREG(st.st_mode) &&
                   FileExtension(file.name).compare(QLatin1String(".zip"), Qt::CaseInsensitive) == 0;
        if (file.zip)
            file.native = name;
        if (passesMasks(file.name)) {
            appendLine(listing, file, fileLine(file.name, st, tail));
        }
        listing.files.push_back(std::move(file));
    }
    closedir(dir);
    return listing;
}

// The same line CommaText::join makes of the five fields, built in one
// string: this runs for every file of the scan.
QString FolderLister::fileLine(const QString &name, const struct stat &st, const QString &tail)
{
    const QString stamp = m_stamps.format(st.st_mtim.tv_sec);
    QString line;
    line.reserve(name.size() + stamp.size() + tail.size() + 32);
    appendField(line, name);
    line += u',';
    appendField(line, QString::number(qint64(st.st_size)));
    line += u',';
    appendField(line, stamp);
    line += tail;
    return line;
}
