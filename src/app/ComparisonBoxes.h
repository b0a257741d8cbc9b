#pragma once

#include "queries/DuplicateFinder.h"

class FormValues;
class QBoxLayout;
class QCheckBox;
class QString;
class QWidget;

// The three boxes "Compare By Name", "Compare By Size" and "Compare By
// Date" of the panels that compare entries, all ticked at first. Their
// object names are prefix + "name", "size", "date"; each is stored under
// its object name + "_Checked".
class ComparisonBoxes
{
public:
    ComparisonBoxes(QWidget *parent, QBoxLayout *layout, const QString &prefix);

    DuplicateFinder::Criteria criteria() const;
    void restore(const FormValues &form);
    void store(FormValues &form) const;

private:
    QCheckBox *m_byName = nullptr;
    QCheckBox *m_bySize = nullptr;
    QCheckBox *m_byDate = nullptr;
};
