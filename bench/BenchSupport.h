#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>

#include <cstdio>
#include <cstdlib>

// Helpers shared by the benchmark programs.
namespace BenchSupport {

// A memory figure of /proc/self/status ("VmHWM:", "VmRSS:") in kilobytes,
// or -1.
inline qint64 statusKilobytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The process's peak resident memory (VmHWM) in kilobytes, or -1.
inline qint64 peakKilobytes()
{
    return statusKilobytes("VmHWM:");
}

// Seconds that `sort -f` takes over a file, output thrown away: the yardstick
// of sorting a catalog.
inline double sortMinusF(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess sort;
    sort.setStandardOutputFile(QProcess::nullDevice());
    sort.start(QStringLiteral("sort"), {QStringLiteral("-f"), path});
    sort.waitForFinished(-1);
    return double(timer.nsecsElapsed()) / 1e9;
}

// Writes a generated catalog file of entries lines, each made by
// makeLine(i, rng) from one fixed seed, in pieces of about a megabyte.
template <typename MakeLine>
void writeGeneratedCatalog(const QString &path, int entries, MakeLine makeLine)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    QRandomGenerator rng(20240611);
    QByteArray chunk;
    for (int i = 0; i < entries; ++i) {
        chunk += makeLine(i, rng).toUtf8();
        chunk += "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

} // namespace BenchSupport
