// Reading a file that is one huge line, as a damaged Master.TXT or catalog
// can be: the time should grow in step with the size, and the memory stay a
// small multiple of it.
#include "BenchSupport.h"
#include "library/TextFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Peak resident memory of this process so far, in MiB.
long peakMemoryMiB()
{
    const qint64 kilobytes = BenchSupport::peakKilobytes();
    return kilobytes < 0 ? -1 : long(kilobytes / 1024);
}

} // namespace

int main()
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    out << "single-line file  read time  peak memory  wc -l (reference)\n";
    for (int megabytes : {25, 50, 100}) {
        const QString path = dir.filePath(QStringLiteral("line%1.txt").arg(megabytes));
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return 1;
            const QByteArray block(1 << 20, 'x');
            for (int i = 0; i < megabytes; ++i)
                file.write(block);
        }
        QElapsedTimer timer;
        timer.start();
        QStringList lines;
        TextFile::readLines(path, lines);
        const qint64 ms = timer.elapsed();
        timer.restart();
        QProcess wc;
        wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
        wc.waitForFinished(-1);
        const qint64 reference = timer.elapsed();
        out << QStringLiteral("%1 MB").arg(megabytes, 6) << QStringLiteral("%1 ms").arg(ms, 11)
            << QStringLiteral("%1 MiB").arg(peakMemoryMiB(), 10) << QStringLiteral("%1 ms").arg(reference, 16)
            << Qt::endl;
        QFile::remove(path);
    }
    return 0;
}
