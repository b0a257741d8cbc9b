#pragma once

#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include <QTemporaryDir>
#include <memory>

// A main window over a library in a temporary folder, answered by scripted
// dialogs, for widget tests.
class AppFixture
{
public:
    AppFixture();
    // Starts from the library that writeLibrary writes into the folder.
    explicit AppFixture(void (*writeLibrary)(AppFixture &));
    ~AppFixture();

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString root() const { return m_dir.path(); }
    // Writes a library file from lines, each ended by CR LF.
    void writeLines(const QString &relative, const QStringList &lines);

    // The window's date formats are formats, or the default ones.
    MainWindow &start(const DateFormats &formats = DateFormats());
    // Closes the window (close query and shutdown) and starts a new one.
    MainWindow &restart();
    // Starts the window and opens the catalog; the test fails when it is not in
    // the tree.
    MainWindow &startWithOpen(const QString &catalog);
    void close();
    MainWindow &window() { return *m_window; }
    ScriptedDialogs &dialogs() { return m_dialogs; }

    // Triggers a command by object name; fails when it is missing or disabled.
    bool trigger(const QString &objectName);
    // Clicks a tree node as the user would (selection, status, pop-up menu).
    bool clickCategory(const QString &name);
    bool clickCatalog(const QString &name);
    // Opens a catalog as a double click does.
    bool openCatalog(const QString &name);
    QStringList treeCatalogs(const QString &category) const;

private:
    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};
