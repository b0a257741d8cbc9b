// Kestrovane: a disk cataloguer.
#include "AppIdentity.h"
#include "MainWindow.h"
#include "QtDialogs.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>
#include <optional>

namespace {

// --version and --help are answered before the window's application exists,
// which needs a display: they work over ssh and in scripts.
std::optional<int> answerWithoutWindow(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (strcmp(arg, "--version") == 0 || strcmp(arg, "-V") == 0) {
            QTextStream(stdout) << "kestrovane " << AppIdentity::version() << '\n';
            return 0;
        }
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            QTextStream(stdout) << "Usage: kestrovane [--help | --version]\n\n"
                                   "Kestrovane, a disk cataloguer: opens its window on the catalog library.\n"
                                   "kestrovane-cli works on the same library from the command line.\n\n"
                                   "  -h, --help      this help\n"
                                   "  -V, --version   the name and version of the program\n";
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> code = answerWithoutWindow(argc, argv))
        return *code;
    QApplication app(argc, argv);
    AppIdentity::apply();
    const QString root = CatalogLibrary::locate(QApplication::applicationDirPath());

    QtDialogs dialogs;
    MainWindow window(root, dialogs, DateFormats::fromSystem());
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
