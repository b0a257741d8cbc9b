// The tool panels, built once the stored properties are read.
#include "MainWindow.h"

#include "FeatureController.h"

void MainWindow::createPanels()
{
    for (FeatureController *feature : std::as_const(m_features))
        feature->createPanels();
}
