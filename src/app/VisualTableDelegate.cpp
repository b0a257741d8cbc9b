#include "VisualTableDelegate.h"

#include "table/VisualTableModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>

QWidget *VisualTableDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    return editor;
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
