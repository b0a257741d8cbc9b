// Catalog search, the duplicate finder and the report.
#include "MainWindow.h"

void MainWindow::connectQueryCommands()
{
}

void MainWindow::createQueryPanels()
{
}
