#pragma once

class QMenu;
class QWidget;

// Keys for the table's pop-up commands, shown beside them in the pop-up.
// They work only while the table (or its cell editor) has the focus, so they
// never take a key from another control. Plain Delete stays the table's own
// row deletion; the file behind a row is deleted with Shift+Delete.
class TableShortcuts
{
public:
    static void attach(QWidget *table, QMenu *popup);
};
