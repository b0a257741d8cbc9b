#include "SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1String kPrefix(".kvtmp-");
const QLatin1String kSuffix(".kvtmp");
constexpr int kNameMax = 255;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString &path, const QString &modelPath)
    : m_path(path), m_modelPath(modelPath)
{}

SafeFileWriter::~SafeFileWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
}

QString SafeFileWriter::finalTarget(const QString &path)
{
    QString target = path;
    // As many links as the kernel follows; a loop ends at the last one.
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            break;
        target = info.symLinkTarget();
    }
    return target;
}

QString SafeFileWriter::temporaryName(const QString &targetName)
{
    const quint64 random = QRandomGenerator::system()->generate64() & 0xFFFFFFFFFFFFull;
    const QString marker = kPrefix + QStringLiteral("%1-").arg(random, 12, 16, QLatin1Char('0'));
    const QString named = marker + targetName + kSuffix;
    return encoded(named).size() <= kNameMax ? named : marker + kSuffix;
}

bool SafeFileWriter::isTemporaryName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.kvtmp-[0-9a-f]{12}-.*\\.kvtmp$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern.match(fileName).hasMatch();
}

bool SafeFileWriter::failWith(int error)
{
    if (m_error.isEmpty())
        m_error = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool SafeFileWriter::open()
{
    const QFileInfo info(m_path);
    // A name already taken (by chance) is simply drawn again.
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        m_temporary = info.absolutePath() + u'/' + temporaryName(info.fileName());
        m_fd = ::open(encoded(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            m_temporary.clear();
            return failWith(errno);
        }
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return failWith(EEXIST);
    }
    return takeModelAttributes();
}

// The owner first: changing it clears the set-user and set-group bits.
bool SafeFileWriter::takeModelAttributes()
{
    struct stat model;
    if (m_modelPath.isEmpty() || ::stat(encoded(m_modelPath).constData(), &model) != 0)
        return true; // a new file: the usual mode, by the umask
    if (::geteuid() == 0 && ::fchown(m_fd, model.st_uid, model.st_gid) != 0)
        return failWith(errno);
    if (::fchmod(m_fd, model.st_mode & 07777) != 0)
        return failWith(errno);
    return true;
}

bool SafeFileWriter::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        return failWith(EBADF);
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failWith(written < 0 ? errno : ENOSPC);
        data += written;
        left -= written;
    }
    return true;
}

bool SafeFileWriter::commit()
{
    if (m_fd < 0)
        return failWith(EBADF);
    // A full disk may only show when the data reaches it, at the sync or
    // even at the close.
    const bool synced = ::fsync(m_fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(m_fd) == 0;
    const int closeError = errno;
    m_fd = -1;
    if (!synced)
        return failWith(syncError);
    if (!closed)
        return failWith(closeError);
    if (std::rename(encoded(m_temporary).constData(), encoded(m_path).constData()) != 0)
        return failWith(errno);
    m_committed = true;
    return true;
}
