#pragma once

#include "indexing/MaskList.h"

#include <QObject>

class QLineEdit;
class QListWidget;

// The editing keys of a mask entry box and its list: ENTER adds the typed
// mask at its sorted place (dropping one the list already holds), DEL
// removes the selected mask, and F5 and F6 are passed on to the owner, whose
// meaning differs between the create and update panels. Typed letters are
// lowered as they are entered.
class MaskListEditor : public QObject
{
    Q_OBJECT
public:
    MaskListEditor(QLineEdit *entry, QListWidget *list, QObject *parent = nullptr);

    QStringList masks() const { return m_masks.items(); }
    // Replaces the list (masks keep their case, as when read back).
    void setMasks(const QStringList &masks);
    void clear();

signals:
    void f5Pressed();
    void f6Pressed();
    // The list was changed in any way.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addTyped();
    void removeSelected();
    void lowerTyped(const QString &text);
    void showMasks();

    QLineEdit *m_entry;
    QListWidget *m_list;
    MaskList m_masks;
};
