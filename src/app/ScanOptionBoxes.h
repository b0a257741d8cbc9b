#pragma once

#include "library/ScanOptions.h"

#include <QList>
#include <QStringList>
#include <array>

class QCheckBox;
class QWidget;

// The six scan option check boxes the create and update panels share, in
// the order of ScanOptions.
class ScanOptionBoxes
{
public:
    // objectNames: the six boxes' names, each panel has its own.
    void create(QWidget *parent, const QStringList &objectNames);
    QList<QCheckBox *> boxes() const { return {m_boxes.begin(), m_boxes.end()}; }
    ScanOptions options() const;
    void setOptions(const ScanOptions &options);

private:
    std::array<QCheckBox *, 6> m_boxes{};
};
