#include "MaskListEditor.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

MaskListEditor::MaskListEditor(QLineEdit *entry, QListWidget *list, QObject *parent)
    : QObject(parent), m_entry(entry), m_list(list)
{
    m_entry->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_entry, &QLineEdit::textEdited, this, &MaskListEditor::lowerTyped);
}

void MaskListEditor::setMasks(const QStringList &masks)
{
    m_masks.setItems(masks);
    showMasks();
}

void MaskListEditor::clear()
{
    m_masks.clear();
    showMasks();
}

bool MaskListEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == m_entry) {
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            addTyped();
            return true;
        case Qt::Key_F5:
            emit f5Pressed();
            return true;
        case Qt::Key_F6:
            emit f6Pressed();
            return true;
        default:
            break;
        }
    } else if (watched == m_list && key == Qt::Key_Delete) {
        removeSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void MaskListEditor::addTyped()
{
    const QString text = m_entry->text();
    if (text.isEmpty())
        return;
    // A mask already held (in any letter case) is dropped without a word.
    m_masks.add(text);
    showMasks();
    m_entry->clear();
    m_entry->setFocus();
}

void MaskListEditor::removeSelected()
{
    const int row = m_list->currentRow();
    if (m_masks.isEmpty() || row < 0 || !m_list->currentItem() || !m_list->currentItem()->isSelected())
        return;
    m_masks.removeAt(row);
    showMasks();
}

void MaskListEditor::lowerTyped(const QString &text)
{
    const QString lower = text.toLower();
    if (lower == text)
        return;
    const int cursor = m_entry->cursorPosition();
    m_entry->setText(lower);
    m_entry->setCursorPosition(cursor);
}

void MaskListEditor::showMasks()
{
    m_list->clear();
    m_list->addItems(m_masks.items());
    emit changed();
}
