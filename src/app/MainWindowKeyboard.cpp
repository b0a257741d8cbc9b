// Keyboard access to the menu bar.
#include "MainWindow.h"

#include <QAction>
#include <QMenuBar>

void MainWindow::createMenuBarKey()
{
    // F10 enters the menu bar, as on other desktops; the arrow keys then move
    // between the menus and their commands. Alt with a menu's underlined
    // letter opens that menu directly.
    auto *enter = new QAction(this);
    enter->setObjectName(QStringLiteral("EnterMenuBar"));
    enter->setShortcut(Qt::Key_F10);
    enter->setShortcutContext(Qt::WindowShortcut);
    addAction(enter);
    connect(enter, &QAction::triggered, this, [this] {
        const QList<QAction *> menus = menuBar()->actions();
        if (!menus.isEmpty())
            menuBar()->setActiveAction(menus.constFirst());
    });
}
