// Exports a catalog of a million entries from the Visual Table model as
// formatted text and as an HTML page, beside the time to open the same
// catalog into the model, which each export should not exceed.
//
//   bench_export [entries]
//
// The catalog is generated in a temporary directory (about 90 MB for a
// million entries), with a tenth of its rows inside ZIP files so the HTML
// colour rules are exercised. Figures only; nothing is asserted.

#include "BenchSupport.h"
#include "BenchTable.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "table/ExportFile.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char *const kWords[] = {"report",    "holiday", "invoice", "backup", "photo",   "letter",
                              "budget",    "draft",   "summary", "notes",  "music",   "track",
                              "Übersicht", "café",    "setup",   "readme", "archive", "family"};
const char *const kDirs[] = {"home",     "user", "Documents", "Pictures", "Music",
                             "Projects", "2019", "Archive",   "old",      "Camera"};

template <size_t N>
const char *pick(const char *const (&list)[N], QRandomGenerator &rng)
{
    return list[rng.bounded(int(N))];
}

QString makeLine(int i, QRandomGenerator &rng, const DateFormats &formats)
{
    const QString name = QStringLiteral("%1 & %2 %3.txt")
                             .arg(QString::fromUtf8(pick(kWords, rng)), QString::fromUtf8(pick(kWords, rng)))
                             .arg(i);
    QString path = QStringLiteral("/media/disk");
    const int depth = 2 + rng.bounded(4);
    for (int d = 0; d < depth; ++d)
        path += u'/' + QLatin1String(pick(kDirs, rng));
    if (rng.bounded(10) == 0)
        path += QStringLiteral("/pack.ZIP");
    path += u'/';
    const qint64 size = rng.bounded(1 << 30);
    const qint64 stamp = 946684800 + rng.bounded(700000000);
    const QString comment = rng.bounded(10) == 0 ? QStringLiteral("keep <this>") : QString();
    return CommaText::join({name, QString::number(size), formats.formatStamp(stamp), path, comment});
}

// Writes the file safely, as the export commands do.
double timeExport(const QString &path, const ExportFile::Producer &produce)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!ExportFile::write(path, produce, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *what, double seconds, double limit, const QString &file)
{
    std::printf("%-24s %8.3f s   target %8.3f s   %s   (%.1f MB)\n", what, seconds, limit,
                seconds <= limit ? "met" : "MISSED", QFileInfo(file).size() / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int entries = args.size() > 1 ? args.at(1).toInt() : 1000000;
    const DateFormats formats;

    QTemporaryDir temp;
    QDir(temp.path()).mkpath(QStringLiteral("Catalogs"));
    BenchSupport::writeGeneratedCatalog(
        temp.path() + QStringLiteral("/Catalogs/Bench.TXT"), entries,
        [&](int i, QRandomGenerator &rng) { return makeLine(i, rng, formats); });
    VisualTableModel model(formats);
    const double opened = BenchSupport::openBenchCatalog(temp.path(), model);

    const ModelTableCells cells(model);
    const QString text = temp.path() + QStringLiteral("/export.txt");
    report("text export",
           timeExport(text, [&](const ByteSink &sink) { return TextExport::write(cells, sink); }), opened,
           text);
    const QString html = temp.path() + QStringLiteral("/export.htm");
    const QString title = QStringLiteral("Bench");
    report("HTML export",
           timeExport(html, [&](const ByteSink &sink) { return HtmlExport::write(cells, title, sink); }),
           opened, html);
    std::printf("%-24s %8.1f MB\n", "peak memory (VmHWM)", BenchSupport::peakKilobytes() / 1000.0 * 1.024);
    return 0;
}
