#pragma once

#include <QList>
#include <QMenu>

class QAbstractScrollArea;

// A pop-up menu of window commands built from a table of entries. Its
// commands are found by object name as the menu bar's are, so any feature
// connects its handlers to them.
class PopupMenu : public QMenu
{
    Q_OBJECT
public:
    struct Entry {
        const char *objectName = nullptr; // none: a separator
        const char *caption = nullptr;
        bool enabled = true;
    };

    PopupMenu(const QString &objectName, const QList<Entry> &entries, QWidget *parent);

    // Opens the menu at pos, a point of the view's viewport.
    void popUpAt(const QAbstractScrollArea *view, const QPoint &pos);
};
