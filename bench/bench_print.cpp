// Prints a catalog of ten thousand entries from the Visual Table model to
// PDF, beside the time to open the same catalog into the model. Target: the
// printout takes under 10 s.
//
//   bench_print [entries]
//
// Runs without a display (the offscreen platform). Figures only; nothing is
// asserted.

#include "BenchSupport.h"
#include "BenchTable.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "table/ModelTableCells.h"
#include "table/PdfPrint.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr double kTargetSeconds = 10;

QString makeLine(int i, QRandomGenerator &rng, const DateFormats &formats)
{
    const QString name = QStringLiteral("holiday photo %1.jpg").arg(i);
    QString path = QStringLiteral("/media/disk/Pictures/%1/").arg(2000 + rng.bounded(25));
    if (rng.bounded(10) == 0)
        path += QStringLiteral("pack.ZIP/");
    const qint64 stamp = 946684800 + rng.bounded(700000000);
    const QString comment = rng.bounded(5) == 0 ? QStringLiteral("keep") : QString();
    return CommaText::join(
        {name, QString::number(rng.bounded(1 << 30)), formats.formatStamp(stamp), path, comment});
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    for (const QByteArray &line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int entries = args.size() > 1 ? args.at(1).toInt() : 10000;
    const DateFormats formats;

    QTemporaryDir temp;
    QDir(temp.path()).mkpath(QStringLiteral("Catalogs"));
    BenchSupport::writeGeneratedCatalog(
        temp.path() + QStringLiteral("/Catalogs/Bench.TXT"), entries,
        [&](int i, QRandomGenerator &rng) { return makeLine(i, rng, formats); });
    VisualTableModel model(formats);
    BenchSupport::openBenchCatalog(temp.path(), model);

    const QString pdf = temp.path() + QStringLiteral("/print.pdf");
    PrintOptions options;
    options.title = QStringLiteral("Bench");
    QString error;
    QElapsedTimer timer;
    timer.start();
    if (!PdfPrint::write(pdf, ModelTableCells(model), {150, 100, 130, 220, 120}, options, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double printed = timer.nsecsElapsed() / 1e9;
    std::printf("%-24s %8.3f s   target %8.3f s   %s   (%d pages, %.1f MB)\n", "print to PDF", printed,
                kTargetSeconds, printed <= kTargetSeconds ? "met" : "MISSED", pdfPages(pdf),
                QFileInfo(pdf).size() / 1e6);
    std::printf("%-24s %8.1f MB\n", "peak memory (VmHWM)", BenchSupport::peakKilobytes() / 1000.0 * 1.024);
    return 0;
}
