#pragma once

#include "library/CatalogLibrary.h"
#include "library/SortedLineList.h"
#include "table/VisualTableModel.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace BenchSupport {

// Opens the library's catalog "Bench" in model as the window does (load and
// fill), prints the row count and the time, and returns the time in seconds.
inline double openBenchCatalog(const QString &libraryPath, VisualTableModel &model)
{
    const CatalogLibrary library(libraryPath);
    QElapsedTimer timer;
    timer.start();
    SortedLineList fileLines;
    QString error;
    if (!library.loadCatalog(QStringLiteral("Bench"), fileLines, &error)) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(error));
        std::exit(1);
    }
    model.setUpCatalogView();
    model.fill(std::move(fileLines));
    const double opened = timer.nsecsElapsed() / 1e9;
    std::printf("rows: %d\n%-24s %8.3f s\n", model.tableRowCount() - 1, "open (load + fill)", opened);
    return opened;
}

} // namespace BenchSupport
