#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// A memory file system when there is one: with a disk file rewritten for
// every input the fuzzers run about ten times slower.
QDir scratchFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? QDir(shm.filePath()) : QDir::temp();
}

class ScratchFile
{
public:
    ScratchFile()
        : m_path(scratchFolder().filePath(QStringLiteral("kestrovane-fuzz-%1.bin").arg(qint64(::getpid()))))
    {}
    ~ScratchFile() { QFile::remove(m_path); }

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

} // namespace

namespace FuzzSupport {

QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString writeScratchFile(const uint8_t *data, size_t size)
{
    static const ScratchFile scratch;
    QFile file(scratch.path());
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
    check(written, "the scratch file can be written");
    return scratch.path();
}

void check(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

} // namespace FuzzSupport
