// Sorts a million catalog lines given in random order into a line list,
// then loads the same lines as a stored catalog, beside `sort -f` on the
// file as the yardstick.
//
//   bench_linelist [entries]
//
// The lines are generated (seeded, so every run sorts the same lines) in a
// temporary directory. Figures only; nothing is asserted.

#include "BenchSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "library/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

const char *const kParts[] = {"report",   "Report", "holiday", "photo", "Ünïcödé", "straße", "日本語",
                              "Ελληνικά", "emoji😀", "Music",   "2021",  "Archive", "draft",  "src"};

QString makeLine(int i, QRandomGenerator &rng)
{
    const auto part = [&] { return QString::fromUtf8(kParts[rng.bounded(int(std::size(kParts)))]); };
    QString path = QStringLiteral("/media/disk");
    const int depth = 2 + rng.bounded(5);
    for (int d = 0; d < depth; ++d)
        path += u'/' + part();
    path += u'/';
    const QString name = part() + u' ' + QString::number(i) + QLatin1String(".txt");
    return CommaText::join(
        {name, QString::number(rng.bounded(100000)), QStringLiteral("01/02/2003 04:05:06"), path, QString()});
}

// Processor time of this process: the machine may be shared, and wall time
// then says little.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    QRandomGenerator rng(1300);
    QStringList lines;
    lines.reserve(entries);
    for (int i = 0; i < entries; ++i)
        lines << makeLine(i, rng);
    std::shuffle(lines.begin(), lines.end(), std::mt19937(13));

    QTemporaryDir temp;
    QDir(temp.path()).mkpath(QStringLiteral("Catalogs"));
    const CatalogLibrary library(temp.path());
    const QString shuffled = temp.filePath(QStringLiteral("shuffled.txt"));
    TextFile::writeLines(shuffled, lines);
    const double sortF = BenchSupport::sortMinusF(shuffled);
    std::printf("%-30s %8.3f s\n", "sort -f (yardstick)", sortF);

    QElapsedTimer timer;
    timer.start();
    double cpu = cpuSeconds();
    SortedLineList list;
    for (const QString &line : std::as_const(lines))
        list.add(line);
    const qsizetype held = list.count();
    std::printf("%-30s %8.3f s   %8.3f s processor   (%lld lines)\n", "sort lines in random order",
                timer.nsecsElapsed() / 1e9, cpuSeconds() - cpu, qlonglong(held));
    lines.clear();
    lines.squeeze();

    library.writeCatalogLines(QStringLiteral("Bench"), list);
    list.clear();
    timer.restart();
    cpu = cpuSeconds();
    SortedLineList loaded;
    QString error;
    if (!library.loadCatalog(QStringLiteral("Bench"), loaded, &error)) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(error));
        return 1;
    }
    qsizetype characters = 0;
    for (qsizetype i = 0; i < loaded.count(); ++i)
        characters += loaded.at(i).size();
    std::printf("%-30s %8.3f s   %8.3f s processor   (%lld characters)\n", "load stored catalog, read all",
                timer.nsecsElapsed() / 1e9, cpuSeconds() - cpu, qlonglong(characters));
    std::printf("%-30s %8.1f MB\n", "peak memory (VmHWM)", BenchSupport::peakKilobytes() / 1000.0 * 1.024);
    return 0;
}
