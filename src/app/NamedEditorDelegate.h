#pragma once

#include <QStyledItemDelegate>

// The plain item delegate, whose in-place editor carries its column's name, so
// a screen reader says what is being edited.
class NamedEditorDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};
