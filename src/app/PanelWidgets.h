#pragma once

#include <QString>

class QCheckBox;
class QPushButton;
class QWidget;

// Small helpers for building panels whose controls tests find by name.
namespace PanelWidgets {

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox *checkBox(QWidget *parent, const QString &objectName, const QString &caption);
// A button that never takes Enter as the panel's default.
QPushButton *button(QWidget *parent, const QString &objectName, const QString &caption);

} // namespace PanelWidgets
