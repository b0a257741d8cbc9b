#include "DirectoryScan.h"

#include "RunControl.h"
#include "WildcardMatch.h"
#include "ZipDirectoryReader.h"
#include "library/FileNameText.h"
#include "library/OrderedWork.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"

#include <QDir>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
#include <sys/stat.h>
#include <vector>

namespace {

// Directories listed ahead of the one the scan adds: enough to keep the
// threads busy, few enough that listings never pile up in memory.
constexpr qsizetype kListingsAhead = 16;

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
    : m_settings(std::move(settings)), m_control(control)
{}

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

namespace {

// The root's real path names mount points the way the mount table does,
// whatever links led to the root.
QByteArray realDirectory(const QByteArray &path)
{
    char buffer[PATH_MAX];
    if (!realpath(path.constData(), buffer))
        return path;
    QByteArray real(buffer);
    if (!real.endsWith('/'))
        real += '/';
    return real;
}

} // namespace

bool DirectoryScan::collectDirectories(const QString &root, SortedLineList &dirList)
{
    m_directories.clear();
    m_nativeDirectories.clear();
    m_stopped = false;
    m_rootNative = FileNameText::toNative(root);
    m_rootReal = realDirectory(m_rootNative);
    m_mounts = MountTable::current();
    struct stat rootStat;
    if (stat(m_rootNative.constData(), &rootStat) == 0)
        m_rootDevice = rootStat.st_dev;
    if (m_settings.options.subDirectories)
        walkBelow({root, m_rootNative});
    if (m_stopped)
        return false;
    m_directories.append(root);
    m_nativeDirectories.append(m_rootNative);
    sortDirectories();
    dirList.addAll(m_directories);
    return true;
}

void DirectoryScan::sortDirectories()
{
    std::vector<qsizetype> order(size_t(m_directories.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](qsizetype a, qsizetype b) {
        return lessNoCase(m_directories.at(a), m_directories.at(b));
    });
    QStringList texts;
    QList<QByteArray> natives;
    texts.reserve(m_directories.size());
    natives.reserve(m_directories.size());
    for (const qsizetype i : order) {
        texts.append(m_directories.at(i));
        natives.append(m_nativeDirectories.at(i));
    }
    m_directories.swap(texts);
    m_nativeDirectories.swap(natives);
}

bool DirectoryScan::isOtherMount(const QByteArray &native) const
{
    QByteArray real = m_rootReal + native.mid(m_rootNative.size());
    real.chop(1); // the trailing "/"
    return m_mounts.isMountPoint(real);
}

// Depth first, each directory's children in sorted order, without recursion
// so that no depth of tree can exhaust the stack.
void DirectoryScan::walkBelow(const Directory &root)
{
    QList<Directory> pending{root};
    const bool hiddenDirs = m_settings.options.hiddenDirectories;
    const auto byText = [](const Directory &a, const Directory &b) { return lessNoCase(a.text, b.text); };
    while (!pending.isEmpty()) {
        const Directory dir = pending.takeLast();
        DirHandle handle(dir.native);
        if (!handle.isOpen())
            continue; // unreadable directories add nothing
        QList<Directory> children;
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
            const QByteArray native = dir.native + name + '/';
            if (isOtherMount(native))
                continue;
            const QString child = dir.text + FileNameText::fromNative(name, qsizetype(strlen(name))) + u'/';
            m_directories.append(child);
            m_nativeDirectories.append(native);
            children.append({child, native});
            m_control.progress(child.left(child.size() - 1));
        }
        std::stable_sort(children.begin(), children.end(), byText);
        std::for_each(children.rbegin(), children.rend(),
                      [&pending](const Directory &c) { pending.append(c); });
    }
}

bool DirectoryScan::collectFiles(SortedLineList &fileLines)
{
    using Listing = FolderLister::Listing;
    OrderedWork<Listing> listings(
        m_directories.size(),
        [this]() -> OrderedWork<Listing>::Job {
            auto lister =
                std::make_shared<FolderLister>(m_settings.options, m_settings.masks, m_settings.formats);
            return [this, lister](qsizetype i, const std::atomic<bool> &) {
                return lister->list(m_directories.at(i), m_nativeDirectories.at(i));
            };
        },
        m_settings.threads, kListingsAhead);
    for (qsizetype i = 0; i < m_directories.size(); ++i) {
        if (!addFiles(i, listings.take(i), fileLines))
            return false;
    }
    return true;
}

bool DirectoryScan::passesMasks(const QString &name) const
{
    return m_settings.masks.isEmpty() || PassesMasks(m_settings.masks, name);
}

// The files of directory i, in the order the directory gives them; a stop
// keeps the files added before it. The listing's lines are taken over, not
// copied.
bool DirectoryScan::addFiles(qsizetype i, FolderLister::Listing &&listing, SortedLineList &fileLines)
{
    const QString &dir = m_directories.at(i);
    // One buffer for every file's full name: a long path is not copied
    // for each file unless the control keeps the text it was shown.
    QString fullName = dir;
    std::vector<QByteArrayView> lines;
    lines.reserve(listing.files.size());
    bool keptGoing = true;
    for (const FolderLister::File &file : listing.files) {
        if (!m_control.keepGoing()) {
            keptGoing = false;
            break;
        }
        fullName.truncate(dir.size());
        fullName += file.name;
        m_control.progress(fullName);
        if (file.zip)
            addZipMembers(fullName, m_nativeDirectories.at(i) + file.native, fileLines);
        if (file.lineSize >= 0)
            lines.push_back(QByteArrayView(listing.lines).sliced(file.lineStart, file.lineSize));
    }
    fileLines.addUtf8Views(std::move(listing.lines), lines);
    return keptGoing;
}

void DirectoryScan::addZipMembers(const QString &archive, const QByteArray &native, SortedLineList &fileLines)
{
    if (m_settings.confirmZip && m_settings.confirmZipFile &&
        !m_settings.confirmZipFile(zipConfirmText(archive)))
        return;
    ZipDirectoryReader reader;
    reader.setFileName(archive, native);
    if (reader.failed() && m_settings.zipMessage)
        m_settings.zipMessage(reader.errorMessage());
    for (const ZipEntry &member : reader.entries()) {
        if (passesMasks(member.name))
            fileLines.add(ZipDirectoryReader::catalogLine(member, archive, m_settings.formats));
    }
}
