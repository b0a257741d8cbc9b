#include "PanelWidgets.h"

#include <QCheckBox>
#include <QPushButton>

namespace PanelWidgets {

QCheckBox *checkBox(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    return box;
}

QPushButton *button(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace PanelWidgets
