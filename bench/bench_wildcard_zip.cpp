// Figures for the wildcard matcher, the extension masks and the ZIP listing.
#include "indexing/WildcardMatch.h"
#include "indexing/ZipDirectoryReader.h"
#include "library/DateFormats.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void appendLe(QByteArray &out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A stored archive whose local headers leave their sizes to data
// descriptors, so the listing also reads the central directory.
QByteArray streamedArchive(int members, int dataSize)
{
    QByteArray archive;
    QByteArray central;
    const quint32 stamp = (quint32((41 << 9) | (3 << 5) | 4) << 16) | (12 << 11);
    for (int i = 0; i < members; ++i) {
        const QByteArray name = "folder/file" + QByteArray::number(i) + ".txt";
        const qint64 offset = archive.size();
        appendLe(archive, 0x04034B50, 4);
        appendLe(archive, 20, 2);
        appendLe(archive, 8, 2); // sizes in the data descriptor
        appendLe(archive, 0, 2);
        appendLe(archive, stamp, 4);
        appendLe(archive, 0, 12);
        appendLe(archive, name.size(), 2);
        appendLe(archive, 0, 2);
        archive += name;
        archive += QByteArray(dataSize, 'd');
        appendLe(archive, 0x08074B50, 4);
        appendLe(archive, 0, 4);
        appendLe(archive, dataSize, 4);
        appendLe(archive, dataSize, 4);

        appendLe(central, 0x02014B50, 4);
        appendLe(central, 20, 2);
        appendLe(central, 20, 2);
        appendLe(central, 8, 2);
        appendLe(central, 0, 2);
        appendLe(central, stamp, 4);
        appendLe(central, 0, 4);
        appendLe(central, dataSize, 4);
        appendLe(central, dataSize, 4);
        appendLe(central, name.size(), 2);
        appendLe(central, 0, 12);
        appendLe(central, offset, 4);
        central += name;
    }
    const qint64 centralAt = archive.size();
    archive += central;
    appendLe(archive, 0x06054B50, 4);
    appendLe(archive, 0, 4);
    appendLe(archive, members, 2);
    appendLe(archive, members, 2);
    appendLe(archive, central.size(), 4);
    appendLe(archive, centralAt, 4);
    appendLe(archive, 0, 2);
    return archive;
}

void benchMatching()
{
    QStringList names;
    for (int i = 0; i < 200000; ++i)
        names << QStringLiteral("Document %1.%2").arg(i).arg(i % 3 ? "txt" : "HTML");
    const QStringList masks{QStringLiteral("*.doc"), QStringLiteral("*.htm?"), QStringLiteral("*.txt")};
    QElapsedTimer timer;
    timer.start();
    int passed = 0;
    for (const QString &name : names)
        passed += PassesMasks(masks, name);
    std::printf("masks: %lld names against 3 masks in %lld ms (%d passed)\n", qint64(names.size()),
                timer.elapsed(), passed);

    timer.restart();
    int matched = 0;
    for (const QString &name : names)
        matched += WildcardMatch(name, u"*ent*1?3*.t*");
    std::printf("wildcard: %lld names against '*ent*1?3*.t*' in %lld ms (%d matched)\n", qint64(names.size()),
                timer.elapsed(), matched);

    QString stars;
    for (int i = 0; i < 120; ++i)
        stars += QStringLiteral("a*");
    const QString text(255, u'a');
    timer.restart();
    for (int i = 0; i < 1000; ++i)
        matched += WildcardMatch(text, stars + u'b');
    std::printf("wildcard: 1000 worst cases (255 characters, 120 stars) in %lld ms\n", timer.elapsed());
}

void benchZip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(streamedArchive(50000, 200)) < 0)
        return;
    file.close();
    QElapsedTimer timer;
    timer.start();
    ZipDirectoryReader reader;
    reader.setFileName(path);
    const qint64 listed = timer.elapsed();
    const QStringList lines = reader.catalogLines(DateFormats());
    std::printf("zip: %d members (streamed, %lld bytes) listed in %lld ms, lines in %lld ms%s\n",
                reader.Count(), file.size(), listed, timer.elapsed() - listed,
                reader.failed() ? qPrintable(QStringLiteral(" FAILED: ") + reader.errorMessage()) : "");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchMatching();
    benchZip();
    return 0;
}
