#pragma once

#include <QString>

class QCheckBox;
class QLabel;
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
// The caption label of a control. Its text, without mnemonic or colon, is the
// control's accessible name, so screen readers announce the two together.
QLabel *label(QWidget *parent, const QString &caption, QWidget *control);

} // namespace PanelWidgets
