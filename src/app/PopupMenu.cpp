#include "PopupMenu.h"

#include <QAbstractScrollArea>
#include <QAction>

PopupMenu::PopupMenu(const QString &objectName, const QList<Entry> &entries, QWidget *parent) : QMenu(parent)
{
    setObjectName(objectName);
    for (const Entry &entry : entries) {
        if (!entry.objectName) {
            addSeparator();
            continue;
        }
        QAction *command = addAction(QString::fromUtf8(entry.caption));
        command->setObjectName(QLatin1String(entry.objectName));
        if (!entry.enabled)
            command->setEnabled(false);
    }
}

void PopupMenu::popUpAt(const QAbstractScrollArea *view, const QPoint &pos)
{
    popup(view->viewport()->mapToGlobal(pos));
}
