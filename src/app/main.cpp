// Kestrovane: a disk cataloguer.
#include "AppIdentity.h"
#include "MainWindow.h"
#include "QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppIdentity::apply();
    const QString root = CatalogLibrary::locate(QApplication::applicationDirPath());

    QtDialogs dialogs;
    MainWindow window(root, dialogs, DateFormats::fromSystem());
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
