#include "VisualTableDelegate.h"

#include "table/VisualTableModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

QWidget *VisualTableDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    // Named after its column, so a screen reader says what is being edited.
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    return editor;
}

bool VisualTableDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && index.data(Qt::ToolTipRole).toString().isEmpty()) {
        QToolTip::showText(event->globalPos(), view->toolTip(), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void VisualTableDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto colour = TableRules::CellColour(index.data(VisualTableModel::CellColourRole).toInt());
    if (colour == TableRules::CellColour::ZipMember) {
        option->backgroundBrush = QBrush(Qt::cyan);
        option->palette.setColor(QPalette::Text, Qt::black);
    }
    if (index.data(VisualTableModel::IsZipFileRole).toBool()) {
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView);
        option->decorationSize = QSize(16, 16);
    }
}
