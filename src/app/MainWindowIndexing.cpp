// The create panel, the indexing run, saving its result, and the update.
#include "MainWindow.h"

void MainWindow::connectIndexingCommands()
{
}

void MainWindow::createIndexingPanels()
{
}
