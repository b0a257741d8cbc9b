// View All Catalogs of a library in the Visual Table, as the window runs it:
// every catalog ticked, the search by the extension "*.*" on the window's
// run control, the result layout, the rows handed to the table's model and
// a table view (set up as the main window's) painting them. Then scrolling
// and a sort by each column, each followed by a repaint. Beside it the
// yardstick: `cat` of the catalog files piped into `sort -f`, and the
// files' bytes beside the peak memory.
//
//   QT_QPA_PLATFORM=offscreen bench_viewall LIBRARY_DIR
//
// Run it under the locale of the yardstick's sort (bench_large.sh sets
// C.UTF-8). Figures only; nothing is asserted.

#include "AppRunControl.h"
#include "BenchSupport.h"
#include "VisualTableDelegate.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"
#include "queries/ResultRun.h"
#include "table/VisualTableModel.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>

namespace {

QStringList catalogFiles(const QString &root)
{
    QStringList files;
    const QDir dir(root + QStringLiteral("/Catalogs"));
    for (const QString &name : dir.entryList({QStringLiteral("*.TXT")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

qint64 totalBytes(const QStringList &files)
{
    qint64 bytes = 0;
    for (const QString &file : files)
        bytes += QFileInfo(file).size();
    return bytes;
}

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// `cat FILES | sort -f`, output thrown away.
double catSortSeconds(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(
        QStringLiteral("sh"),
        QStringList{QStringLiteral("-c"), QStringLiteral("cat \"$@\" | sort -f"), QStringLiteral("sh")} +
            files);
    shell.waitForFinished(-1);
    return seconds(timer);
}

double megabytes(qint64 kilobytes)
{
    return double(kilobytes) * 1024 / 1e6;
}

// The table view as the main window sets it up.
void setUpView(QTableView &view, VisualTableModel &model)
{
    view.setModel(&model);
    view.verticalHeader()->setDefaultSectionSize(18);
    view.verticalHeader()->hide();
    view.setShowGrid(true);
    view.horizontalHeader()->setSortIndicatorShown(true);
    view.horizontalHeader()->setSectionsClickable(true);
    view.setWordWrap(false);
    view.setItemDelegate(new VisualTableDelegate(&view));
    view.resize(1280, 800);
    view.show();
}

// Seconds until the view has painted what it shows now.
double repaintSeconds(QTableView &view)
{
    QElapsedTimer timer;
    timer.start();
    QCoreApplication::processEvents();
    view.viewport()->repaint();
    return seconds(timer);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: bench_viewall LIBRARY_DIR\n");
        return 2;
    }
    const QString root = QDir(app.arguments().at(1)).absolutePath();
    const QStringList files = catalogFiles(root);
    const qint64 bytes = totalBytes(files);
    std::printf("catalog files: %lld, %.1f MB\n", qint64(files.size()), double(bytes) / 1e6);
    const double reference = catSortSeconds(files);
    std::printf("%-34s %8.2f s\n", "cat | sort -f (yardstick)", reference);

    const CatalogLibrary library(root);
    LibraryState state;
    if (QString error; !library.startUp(state, &error, CatalogLibrary::Access::Reader)) {
        std::fprintf(stderr, "cannot open the library: %s\n", qPrintable(error));
        return 1;
    }
    VisualTableModel model;
    QTableView view;
    setUpView(view, model);
    QCoreApplication::processEvents();
    const qint64 startKb = BenchSupport::statusKilobytes("VmRSS:");

    QElapsedTimer timer;
    timer.start();
    CheckTree tree(state.tree);
    tree.setAllChecked(true);
    state.keepGoing = true;
    AppRunControl control(state.keepGoing, [](const QString &) {});
    const CatalogSearch search(library, DateFormats(), QDate::currentDate().year());
    std::vector<ResultRun> runs;
    const CatalogSearch::Result result = search.run(CatalogSearch::Request::viewAll(), tree, control, runs);
    const double searched = seconds(timer);
    model.setUpResultView();
    model.fill(std::move(runs));
    const double filled = seconds(timer);
    repaintSeconds(view);
    const double shown = seconds(timer);
    const qint64 peakKb = BenchSupport::peakKilobytes();
    std::printf("rows: %lld (search %.2f s, fill %.2f s, first paint %.2f s)\n", qint64(result.matches),
                searched, filled - searched, shown - filled);
    std::printf("%-34s %8.2f s   %.2fx the yardstick (target <= 1.5)\n", "View All, table filled", shown,
                shown / reference);
    std::printf("%-34s %8.1f MB  %.2fx the files (target <= 1.3); %.1f MB before the run\n",
                "peak memory (VmHWM)", megabytes(peakKb), double(peakKb) * 1024 / double(bytes),
                megabytes(startKb));
    std::printf("%-34s %8.1f MB  %.2fx the files\n", "memory with the table filled",
                megabytes(BenchSupport::statusKilobytes("VmRSS:")),
                double(BenchSupport::statusKilobytes("VmRSS:")) * 1024 / double(bytes));

    // Scrolling: a screenful painted at 1,000 places down the table.
    QScrollBar *bar = view.verticalScrollBar();
    double slowest = 0;
    timer.restart();
    for (int step = 0; step <= 1000; ++step) {
        bar->setValue(int(qint64(bar->maximum()) * step / 1000));
        slowest = std::max(slowest, repaintSeconds(view));
    }
    std::printf("%-34s %8.4f s   slowest %.4f s\n", "scroll, one screen (average)", seconds(timer) / 1001,
                slowest);

    for (int column = 0; column < model.columnCount(); ++column) {
        timer.restart();
        model.headerClicked(column);
        repaintSeconds(view);
        const QString label =
            QStringLiteral("sort by ") + model.headerData(column, Qt::Horizontal).toString();
        std::printf("%-34s %8.2f s   %.2fx the yardstick\n", qPrintable(label), seconds(timer),
                    seconds(timer) / reference);
    }
    timer.restart();
    model.headerClicked(model.columnCount() - 1);
    repaintSeconds(view);
    std::printf("%-34s %8.2f s\n", "the same column again, reversed", seconds(timer));
    std::printf("%-34s %8.1f MB  %.2fx the files\n", "peak memory after sorting",
                megabytes(BenchSupport::peakKilobytes()),
                double(BenchSupport::peakKilobytes()) * 1024 / double(bytes));
    return 0;
}
