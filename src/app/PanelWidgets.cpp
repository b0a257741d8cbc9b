#include "PanelWidgets.h"

#include <QCheckBox>
#include <QLabel>
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

QLabel *label(QWidget *parent, const QString &caption, QWidget *control)
{
    auto *l = new QLabel(caption, parent);
    l->setBuddy(control);
    QString name = caption;
    name.remove(u'&');
    if (name.endsWith(u':'))
        name.chop(1);
    control->setAccessibleName(name);
    return l;
}

} // namespace PanelWidgets
