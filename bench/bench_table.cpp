// Opens a catalog of a million entries into the Visual Table model and sorts
// it, beside `sort -f` on the same file as the yardstick.
//
//   bench_table [--long] [catalog-file] [entries]
//
// Without a file a catalog is generated in a temporary directory (about
// 90 MB for a million entries); --long makes lines of about 1 KB (deep
// paths), 150,000 of them unless told. Peak memory is shown beside the
// catalog file's size, and the table's own memory once the loaded list is
// gone. Figures only; nothing is asserted.

#include "BenchSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "library/SortedLineList.h"
#include "table/VisualTableModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <malloc.h>

namespace {

const char *const kWords[] = {"report", "holiday", "invoice", "backup", "photo",   "letter",
                              "budget", "draft",   "summary", "notes",  "music",   "track",
                              "scan",   "project", "final",   "setup",  "readme",  "archive",
                              "family", "meeting", "sketch",  "thesis", "chapter", "export"};
const char *const kExtensions[] = {".jpg", ".txt", ".doc", ".pdf",  ".mp3", ".zip",
                                   ".png", ".xls", ".exe", ".html", ".c",   ".h"};
const char *const kDirs[] = {"home", "user",    "Documents", "Pictures", "Music",  "Projects", "2019",
                             "2021", "Archive", "old",       "src",      "Camera", "Work"};
const char *const kComments[] = {"keep", "sent to Anna", "original scan", "needs review",
                                 "from the old laptop"};

template <size_t N>
const char *pick(const char *const (&list)[N], QRandomGenerator &rng)
{
    return list[rng.bounded(int(N))];
}

// Resident memory now (VmRSS) in kilobytes, after handing freed heap back.
qint64 residentKilobytes()
{
    malloc_trim(0);
    return BenchSupport::statusKilobytes("VmRSS:");
}

QString makeLine(int i, QRandomGenerator &rng, const DateFormats &formats, bool longLine)
{
    const QString name = QStringLiteral("%1_%2 %3%4")
                             .arg(QLatin1String(pick(kWords, rng)), QLatin1String(pick(kWords, rng)))
                             .arg(i)
                             .arg(QLatin1String(pick(kExtensions, rng)));
    QString path = QStringLiteral("/media/disk");
    const int depth = 2 + rng.bounded(4);
    for (int d = 0; d < depth; ++d)
        path += u'/' + QLatin1String(pick(kDirs, rng));
    while (longLine && path.size() < 920)
        path += u'/' + QLatin1String(pick(kDirs, rng));
    path += u'/';
    const qint64 size = rng.bounded(2) ? rng.bounded(100000) : qint64(rng.bounded(1 << 30));
    const qint64 stamp = 946684800 + rng.bounded(700000000);
    const QString comment = rng.bounded(10) == 0 ? QLatin1String(pick(kComments, rng)) : QString();
    return CommaText::join({name, QString::number(size), formats.formatStamp(stamp), path, comment});
}

void report(const char *what, double seconds, double limit)
{
    std::printf("%-28s %8.3f s   target %8.3f s   %s\n", what, seconds, limit,
                seconds <= limit ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool longLines = args.removeAll(QStringLiteral("--long")) > 0;
    const int entries = args.size() > 2 ? args.at(2).toInt() : (longLines ? 150000 : 1000000);
    const DateFormats formats;

    QTemporaryDir temp;
    QString file = args.size() > 1 ? args.at(1) : QString();
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        if (file.isEmpty()) {
            QDir(temp.path()).mkpath(QStringLiteral("Catalogs"));
            file = temp.path() + QStringLiteral("/Catalogs/Bench.TXT");
        }
        BenchSupport::writeGeneratedCatalog(file, entries, [&](int i, QRandomGenerator &rng) {
            return makeLine(i, rng, formats, longLines);
        });
    }
    const QFileInfo info(file);
    const double fileMb = info.size() / 1e6;
    std::printf("catalog file: %s, %.1f MB\n", qPrintable(file), fileMb);

    const double sortF = BenchSupport::sortMinusF(file);
    std::printf("%-28s %8.3f s\n", "sort -f (yardstick)", sortF);

    // The library wants the file in its Catalogs folder.
    QString root = info.absoluteDir().absolutePath();
    if (info.absoluteDir().dirName() == QLatin1String("Catalogs"))
        root = QFileInfo(root).absolutePath();
    else {
        QDir(temp.path()).mkpath(QStringLiteral("Catalogs"));
        QFile::link(info.absoluteFilePath(), temp.path() + QStringLiteral("/Catalogs/Bench.TXT"));
        root = temp.path();
    }
    const CatalogLibrary library(root);
    const QString name = root == temp.path() ? QStringLiteral("Bench") : info.completeBaseName();

    VisualTableModel model(formats);
    QElapsedTimer timer;
    timer.start();
    SortedLineList fileLines;
    QString error;
    if (!library.loadCatalog(name, fileLines, &error)) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(error));
        return 1;
    }
    const double loaded = timer.nsecsElapsed() / 1e9;
    model.setUpCatalogView();
    model.fill(std::move(fileLines));
    const double opened = timer.nsecsElapsed() / 1e9;
    std::printf("rows: %d (load %.3f s, fill %.3f s)\n", model.tableRowCount() - 1, loaded, opened - loaded);
    report("open (load + fill)", opened, 1.5 * sortF);
    const double openPeakMb = BenchSupport::peakKilobytes() / 1000.0 * 1.024;
    std::printf("%-28s %8.1f MB  target %8.1f MB   %s\n", "peak memory after open", openPeakMb, 1.3 * fileMb,
                openPeakMb <= 1.3 * fileMb ? "met" : "MISSED");
    std::printf("%-28s %8.1f MB  (%.2f times the file)\n", "memory with the table only",
                residentKilobytes() / 1000.0 * 1.024, residentKilobytes() / 1000.0 * 1.024 / fileMb);

    // Scrolling: the cells the view asks for, a screenful at a time, down
    // the whole table.
    timer.restart();
    qint64 shown = 0;
    const int screens = 10000;
    for (int screen = 0; screen < screens; ++screen) {
        const int top = int(qint64(screen) * (model.rowCount() - 40) / screens);
        for (int r = top; r < top + 40 && r < model.rowCount(); ++r) {
            for (int c = 0; c < model.columnCount(); ++c) {
                const QModelIndex cell = model.index(r, c);
                shown += model.data(cell).toString().size();
                shown += model.data(cell, VisualTableModel::CellColourRole).toInt();
            }
        }
    }
    std::printf("%-28s %8.3f s   (%d screens, %lld)\n", "scroll", timer.nsecsElapsed() / 1e9, screens, shown);

    const struct {
        const char *label;
        int column;
    } sorts[] = {{"sort by size", 1}, {"sort by name", 0}, {"sort by date", 2}, {"sort by path", 3}};
    for (const auto &s : sorts) {
        timer.restart();
        model.headerClicked(s.column);
        report(s.label, timer.nsecsElapsed() / 1e9, sortF);
    }
    timer.restart();
    model.headerClicked(3);
    report("sort by path, reversed", timer.nsecsElapsed() / 1e9, sortF);

    const double peakMb = BenchSupport::peakKilobytes() / 1000.0 * 1.024;
    std::printf("%-28s %8.1f MB  target %8.1f MB   %s\n", "peak memory (VmHWM)", peakMb, 3 * fileMb,
                peakMb <= 3 * fileMb ? "met" : "MISSED");
    return 0;
}
