#include "LibraryLock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int s_timeoutMs = 5000;

// The locks this process holds, by library root.
struct Held {
    int fd = -1;
    int shared = 0;
    int exclusive = 0;
};

QHash<QString, Held> &heldLocks()
{
    static QHash<QString, Held> held;
    return held;
}

// Who holds the lock, as its holder wrote it into the lock file.
QString holderText(int fd)
{
    char buffer[256] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    const QString text = n > 0 ? QString::fromUtf8(buffer, n).trimmed() : QString();
    return text.isEmpty() ? QStringLiteral("another program") : text;
}

void writeHolder(int fd)
{
    const QByteArray text =
        QStringLiteral("%1 (process %2)\n")
            .arg(QCoreApplication::applicationName().isEmpty() ? QStringLiteral("Kestrovane")
                                                               : QCoreApplication::applicationName(),
                 QString::number(::getpid()))
            .toUtf8();
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.constData(), size_t(text.size()), 0) < 0)
        return; // the holder's name is a courtesy only
}

// Tries flock until it comes or the time is up; errno of the last try.
bool lockWithin(int fd, int operation, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (timer.elapsed() >= timeoutMs) {
            errno = EWOULDBLOCK;
            return false;
        }
        QThread::msleep(20);
    }
}

} // namespace

const QLatin1String LibraryLock::fileName("Kestrovane.lock");

QString LibraryLock::lockPath(const QString &root)
{
    return root + u'/' + fileName;
}

int LibraryLock::defaultTimeoutMs()
{
    return s_timeoutMs;
}

void LibraryLock::setDefaultTimeoutMs(int ms)
{
    s_timeoutMs = ms;
}

bool LibraryLock::heldExclusively(const QString &root)
{
    return heldLocks().value(root).exclusive > 0;
}

LibraryLock::LibraryLock(const QString &root, Kind kind, int timeoutMs) : m_root(root), m_kind(kind)
{
    Held &held = heldLocks()[root];
    const bool exclusive = kind == Kind::Exclusive;
    // Already held strongly enough by this process: only count it.
    if (held.exclusive > 0 || (!exclusive && held.shared > 0)) {
        ++(exclusive ? held.exclusive : held.shared);
        m_locked = true;
        return;
    }
    if (held.fd < 0) {
        const QByteArray path = QFile::encodeName(lockPath(root));
        held.fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (held.fd < 0 && !exclusive)
            held.fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        // A reader of a library it may not write (another user's, a read-only
        // medium) reads without the lock: it changes nothing.
        if (held.fd < 0 && !exclusive) {
            heldLocks().remove(root);
            m_unlockedReader = true;
            m_locked = true;
            return;
        }
        if (held.fd < 0) {
            m_error = QStringLiteral("Cannot lock the catalog library %1: %2")
                          .arg(root, QString::fromLocal8Bit(std::strerror(errno)));
            heldLocks().remove(root);
            return;
        }
    }
    // A shared lock this process holds becomes an exclusive one; flock lets
    // go of it first, so nothing read under it may be trusted afterwards.
    if (!lockWithin(held.fd, exclusive ? LOCK_EX : LOCK_SH, timeoutMs)) {
        m_busy = errno == EWOULDBLOCK;
        m_error =
            m_busy ? QStringLiteral("The catalog library %1 is in use by %2; try again when it has finished.")
                         .arg(root, holderText(held.fd))
                   : QStringLiteral("Cannot lock the catalog library %1: %2")
                         .arg(root, QString::fromLocal8Bit(std::strerror(errno)));
        if (held.shared == 0 && held.exclusive == 0) {
            ::close(held.fd);
            heldLocks().remove(root);
        }
        return;
    }
    if (exclusive)
        writeHolder(held.fd);
    ++(exclusive ? held.exclusive : held.shared);
    m_locked = true;
}

LibraryLock::~LibraryLock()
{
    if (!m_locked || m_unlockedReader)
        return;
    Held &held = heldLocks()[m_root];
    --(m_kind == Kind::Exclusive ? held.exclusive : held.shared);
    if (m_kind == Kind::Exclusive && held.exclusive == 0 && ::ftruncate(held.fd, 0) != 0)
        qWarning("Cannot clear the holder of %s", qPrintable(lockPath(m_root)));
    if (held.exclusive == 0 && held.shared > 0 && m_kind == Kind::Exclusive) {
        ::flock(held.fd, LOCK_SH); // back to what the remaining holders asked for
        return;
    }
    if (held.exclusive > 0 || held.shared > 0)
        return;
    ::flock(held.fd, LOCK_UN);
    ::close(held.fd);
    heldLocks().remove(m_root);
}
