#pragma once

#include "table/PrintOptions.h"

#include <QWidget>

class FormValues;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The controls of the print options panel (Printsetupdlg): the title, what
// each page shows besides the cells, the orientation, the font button and
// the Preview and Print buttons with their All / Selected Region menus.
class PrintOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PrintOptionsPanel(QWidget *parent = nullptr);

    // A new printout starts without a title, the cursor in its box.
    void startNewPrintout();
    // The title, the boxes and the orientation; the rest stays unset.
    PrintOptions options() const;
    bool landscape() const;
    void restore(const FormValues &form);
    void store(FormValues &form) const;

signals:
    void fontClicked();

private:
    QLineEdit *m_title = nullptr;        // Edit3
    QCheckBox *m_time = nullptr;         // CheckBox1
    QCheckBox *m_date = nullptr;         // CheckBox2
    QCheckBox *m_borders = nullptr;      // CheckBox3
    QCheckBox *m_pageNumbers = nullptr;  // CheckBox4
    QRadioButton *m_landscape = nullptr; // RadioGroup1, item 0
    QRadioButton *m_portrait = nullptr;  // item 1
};
