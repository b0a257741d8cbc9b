#include "ScanOptionBoxes.h"

#include "PanelWidgets.h"

#include <QCheckBox>

void ScanOptionBoxes::create(QWidget *parent, const QStringList &objectNames)
{
    static const char *const captions[6] = {"Hidden Files",    "Read-Only Files",    "System Files",
                                            "Sub-Directories", "Hidden Directories", "Contents Of ZIP Files"};
    for (int i = 0; i < 6; ++i)
        m_boxes[size_t(i)] = PanelWidgets::checkBox(parent, objectNames.value(i), QLatin1String(captions[i]));
}

ScanOptions ScanOptionBoxes::options() const
{
    ScanOptions o;
    o.hiddenFiles = m_boxes[0]->isChecked();
    o.readOnlyFiles = m_boxes[1]->isChecked();
    o.systemFiles = m_boxes[2]->isChecked();
    o.subDirectories = m_boxes[3]->isChecked();
    o.hiddenDirectories = m_boxes[4]->isChecked();
    o.zipContents = m_boxes[5]->isChecked();
    return o;
}

void ScanOptionBoxes::setOptions(const ScanOptions &o)
{
    m_boxes[0]->setChecked(o.hiddenFiles);
    m_boxes[1]->setChecked(o.readOnlyFiles);
    m_boxes[2]->setChecked(o.systemFiles);
    m_boxes[3]->setChecked(o.subDirectories);
    m_boxes[4]->setChecked(o.hiddenDirectories);
    m_boxes[5]->setChecked(o.zipContents);
}
