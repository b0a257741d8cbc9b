#include "TableShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QWidget>

namespace {

struct Key {
    const char *command;
    QKeySequence keys;
};

// Built on use: standard keys need the running application's platform.
QList<Key> keys()
{
    return {
        {"CopySelectionToClipboard1", QKeySequence::Copy},
        {"CopySelectedRegionToClipboard1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {"PasteFromClipboard1", QKeySequence::Paste},
        {"DeleteSelectedFile1", QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
        {"ExpandSelectedColumn1", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {"ResizeSelectedColumnToDefault1", QKeySequence(Qt::CTRL | Qt::Key_0)},
        {"ResizeAllColumnsToDefault1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
    };
}

} // namespace

void TableShortcuts::attach(QWidget *table, QMenu *popup)
{
    const QList<Key> all = keys();
    for (QAction *action : popup->actions()) {
        for (const Key &key : all) {
            if (action->objectName() != QLatin1String(key.command))
                continue;
            action->setShortcut(key.keys);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            table->addAction(action);
        }
    }
}
