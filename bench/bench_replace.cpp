// Times the comment search and replace on 100 catalogs of 2,000,000 entries
// in all, where one comment in ten holds the word, beside
// sed -i 's/WORD/NEW/' on copies of the same files. The word is only ever in
// comments, so both must leave the same bytes, which is checked.
//
//   bench_replace [work-dir]
//
// Without a directory the files are generated in a temporary one. Target:
// at most 2 times the sed time.

#include "BenchSupport.h"

#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "queries/CommentReplace.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kCatalogs = 100;
constexpr int kEntriesPerCatalog = 20000;

const char *const kComments[] = {"", "", "", "", "holiday photos", "second copy", "from the old disk"};

QString makeLine(int catalog, int i, QRandomGenerator &rng)
{
    const QString name = QStringLiteral("file_%1_%2.dat").arg(i).arg(rng.bounded(100000));
    const QString path = QStringLiteral("/media/vol%1/dir%2/sub%3/").arg(catalog).arg(i % 97).arg(i % 13);
    const QString comment = i % 10 == 0 ? QStringLiteral("old WORD disk, WORD kept")
                                        : QString::fromLatin1(kComments[rng.bounded(7)]);
    return CommaText::join(
        {name, QString::number(rng.bounded(5000000)), QStringLiteral("06/14/1998 10:00:00"), path, comment});
}

QString catalogPath(const QString &root, int c)
{
    return QStringLiteral("%1/Catalogs/Volume %2.TXT").arg(root).arg(c, 3, 10, QLatin1Char('0'));
}

double secondsOf(QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString ours = base + QStringLiteral("/library");
    const QString copies = base + QStringLiteral("/copies");
    QDir().mkpath(ours + QStringLiteral("/Catalogs"));
    QDir().mkpath(copies + QStringLiteral("/Catalogs"));
    for (int c = 0; c < kCatalogs; ++c) {
        BenchSupport::writeGeneratedCatalog(
            catalogPath(ours, c), kEntriesPerCatalog,
            [c](int i, QRandomGenerator &rng) { return makeLine(c, i, rng); });
        QFile::remove(catalogPath(copies, c));
        QFile::copy(catalogPath(ours, c), catalogPath(copies, c));
    }

    QElapsedTimer timer;
    QProcess sed;
    sed.setWorkingDirectory(copies + QStringLiteral("/Catalogs"));
    timer.start();
    sed.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"), QStringLiteral("sed -i 's/WORD/NEW/' *.TXT")});
    sed.waitForFinished(-1);
    const double sedSeconds = secondsOf(timer);

    const CatalogLibrary library(ours);
    LibraryState state;
    library.startUp(state);
    RunControl control;
    timer.start();
    const CommentReplace::Result result =
        CommentReplace(library, state).run(QStringLiteral("WORD"), QStringLiteral("NEW"), control);
    const double ourSeconds = secondsOf(timer);

    int different = 0;
    for (int c = 0; c < kCatalogs; ++c) {
        QFile a(catalogPath(ours, c));
        QFile b(catalogPath(copies, c));
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
            ++different;
    }
    std::printf("replace in %d catalogs of %d entries: %.3f s (%lld replacements)\n", kCatalogs,
                kEntriesPerCatalog, ourSeconds, static_cast<long long>(result.total()));
    std::printf("sed -i on copies:                         %.3f s\n", sedSeconds);
    std::printf("ratio %.2f, target <= 2; files differing from sed's: %d\n", ourSeconds / sedSeconds,
                different);
    std::printf("peak memory %lld kB\n", static_cast<long long>(BenchSupport::peakKilobytes()));
    return different == 0 ? 0 : 1;
}
