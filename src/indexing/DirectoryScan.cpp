#include "DirectoryScan.h"

#include "WildcardMatch.h"
#include "ZipDirectoryReader.h"
#include "library/CommaText.h"
#include "library/RunControl.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool lessNoCase(const QString &a, const QString &b)
{
    return TextCompare::compareNoCase(a, b) < 0;
}

// Closes a directory stream on every way out.
class DirHandle
{
public:
    explicit DirHandle(const QByteArray &path) : m_dir(opendir(path.constData())) {}
    ~DirHandle()
    {
        if (m_dir)
            closedir(m_dir);
    }
    DirHandle(const DirHandle &) = delete;
    DirHandle &operator=(const DirHandle &) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    dirent *next() { return readdir(m_dir); }
    int fd() const { return dirfd(m_dir); }

private:
    DIR *m_dir;
};

} // namespace

DirectoryScan::DirectoryScan(Settings settings, RunControl &control)
    : m_settings(std::move(settings)), m_control(control), m_stamps(m_settings.formats)
{
}

QString DirectoryScan::rootPath(const QString &text)
{
    QString root = QDir::cleanPath(QDir(text.isEmpty() ? QDir::currentPath() : text).absolutePath());
    if (!root.endsWith(u'/'))
        root += u'/';
    return root;
}

QString DirectoryScan::zipConfirmText(const QString &archive)
{
    return QLatin1String("Proceed to include the contents of:\n") + archive;
}

QByteArray DirectoryScan::nativePath(const QString &dir) const
{
    const auto it = m_native.constFind(dir);
    return it != m_native.constEnd() ? it.value() : QFile::encodeName(dir);
}

bool DirectoryScan::collectDirectories(const QString &root, SortedLineList &dirList)
{
    m_directories.clear();
    m_native.clear();
    m_stopped = false;
    struct stat rootStat;
    if (stat(QFile::encodeName(root).constData(), &rootStat) == 0)
        m_rootDevice = rootStat.st_dev;
    if (m_settings.options.subDirectories)
        walkBelow(root);
    if (m_stopped)
        return false;
    m_directories.append(root);
    std::stable_sort(m_directories.begin(), m_directories.end(), lessNoCase);
    dirList.addAll(m_directories);
    return true;
}

// Depth first, each directory's children in sorted order, without recursion
// so that no depth of tree can exhaust the stack.
void DirectoryScan::walkBelow(const QString &root)
{
    QStringList pending{root};
    const bool hiddenDirs = m_settings.options.hiddenDirectories;
    while (!pending.isEmpty()) {
        const QString dir = pending.takeLast();
        const QByteArray native = nativePath(dir);
        DirHandle handle(native);
        if (!handle.isOpen())
            continue; // unreadable directories add nothing
        QStringList children;
        while (dirent *entry = handle.next()) {
            const char *name = entry->d_name;
            if (isDotOrDotDot(name) || (name[0] == '.' && !hiddenDirs))
                continue;
            unsigned char type = entry->d_type;
            struct stat st = {};
            const bool needStat = type == DT_DIR || type == DT_UNKNOWN;
            if (needStat) {
                if (fstatat(handle.fd(), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            // Links, devices and the like are system entries and never listed.
            if (type != DT_DIR && type != DT_REG)
                continue;
            if (!m_control.keepGoing()) {
                m_stopped = true;
                return;
            }
            if (type != DT_DIR || st.st_dev != m_rootDevice)
                continue;
            const QString child = dir + QFile::decodeName(name) + u'/';
            m_native.insert(child, native + name + '/');
            m_directories.append(child);
            children.append(child);
            m_control.progress(child.left(child.size() - 1));
        }
        std::stable_sort(children.begin(), children.end(), lessNoCase);
        std::for_each(children.rbegin(), children.rend(),
                      [&pending](const QString &c) { pending.append(c); });
    }
}

bool DirectoryScan::collectFiles(SortedLineList &fileLines)
{
    for (const QString &dir : std::as_const(m_directories)) {
        if (!listFiles(dir, fileLines))
            return false;
    }
    return true;
}

bool DirectoryScan::acceptsFile(const QString &name, mode_t mode) const
{
    const ScanOptions &o = m_settings.options;
    if (!o.hiddenFiles && name.startsWith(u'.'))
        return false;
    if (!o.systemFiles && !S_ISREG(mode))
        return false;
    if (!o.readOnlyFiles && !(mode & S_IWUSR))
        return false;
    return true;
}

bool DirectoryScan::passesMasks(const QString &name) const
{
    return m_settings.masks.isEmpty() || PassesMasks(m_settings.masks, name);
}

bool DirectoryScan::listFiles(const QString &dir, SortedLineList &fileLines)
{
    DirHandle handle(nativePath(dir));
    if (!handle.isOpen())
        return true;
    const bool hiddenFiles = m_settings.options.hiddenFiles;
    while (dirent *entry = handle.next()) {
        const char *name = entry->d_name;
        if (isDotOrDotDot(name) || entry->d_type == DT_DIR || (name[0] == '.' && !hiddenFiles))
            continue;
        struct stat st = {};
        if (fstatat(handle.fd(), name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
            continue;
        const QString fileName = QFile::decodeName(name);
        if (!acceptsFile(fileName, st.st_mode))
            continue;
        if (!m_control.keepGoing())
            return false;
        const QString fullName = dir + fileName;
        m_control.progress(fullName);
        if (m_settings.options.zipContents && S_ISREG(st.st_mode)
            && FileExtension(fileName).compare(QLatin1String(".zip"), Qt::CaseInsensitive) == 0)
            addZipMembers(fullName, fileLines);
        if (passesMasks(fileName)) {
            fileLines.add(CommaText::join({fileName, QString::number(qint64(st.st_size)),
                                           m_stamps.format(st.st_mtim.tv_sec), dir,
                                           QString()}));
        }
    }
    return true;
}

void DirectoryScan::addZipMembers(const QString &archive, SortedLineList &fileLines)
{
    if (m_settings.confirmZip && m_settings.confirmZipFile
        && !m_settings.confirmZipFile(zipConfirmText(archive)))
        return;
    ZipDirectoryReader reader;
    reader.setFileName(archive);
    if (reader.failed() && m_settings.zipMessage)
        m_settings.zipMessage(reader.errorMessage());
    for (const ZipEntry &member : reader.entries()) {
        if (passesMasks(member.name))
            fileLines.add(ZipDirectoryReader::catalogLine(member, archive, m_settings.formats));
    }
}
