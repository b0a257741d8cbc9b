#pragma once

#include <QString>

// The library's lock: one writer at a time, any number of readers between
// writes. It is an advisory lock (flock) on Kestrovane.lock in the library
// root, so the kernel lets go of it when its holder dies and nobody is left
// waiting for a crashed program.
//
// Within one process the lock is shared by every holder of the same library
// and kind, so a command that already holds it can run a transaction that
// takes it again.
class LibraryLock
{
public:
    enum class Kind { Shared, Exclusive };

    // Waits up to timeoutMs for the lock; isLocked() tells whether it came.
    LibraryLock(const QString &root, Kind kind = Kind::Exclusive, int timeoutMs = defaultTimeoutMs());
    ~LibraryLock();
    LibraryLock(const LibraryLock &) = delete;
    LibraryLock &operator=(const LibraryLock &) = delete;

    bool isLocked() const { return m_locked; }
    // Whether it did not come because another program holds it.
    bool isBusy() const { return m_busy; }
    // Why the lock did not come: who holds it, or what failed.
    const QString &error() const { return m_error; }

    // Whether this process holds the library's exclusive lock now.
    static bool heldExclusively(const QString &root);
    static QString lockPath(const QString &root);
    static const QLatin1String fileName;

    // A few seconds; a test may shorten it.
    static int defaultTimeoutMs();
    static void setDefaultTimeoutMs(int ms);

private:
    QString m_root;
    Kind m_kind;
    bool m_locked = false;
    bool m_unlockedReader = false;
    bool m_busy = false;
    QString m_error;
};
