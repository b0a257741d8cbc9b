#pragma once

#include "ScanOptionBoxes.h"

#include "library/ScanOptions.h"

#include <QWidget>

class MaskListEditor;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The controls of the update panel (Updatedlg): the catalog's name and last
// update, the path to rescan, the scan options and masks the catalog was
// made with, and the run's buttons.
class UpdatePanel : public QWidget
{
    Q_OBJECT
public:
    explicit UpdatePanel(QWidget *parent = nullptr);

    ScanOptions options() const;
    void setOptions(const ScanOptions &options);
    bool confirmZip() const;

    QLabel *nameLabel() const { return m_name; }
    QLabel *lastUpdatedLabel() const { return m_lastUpdated; }
    QLineEdit *pathBox() const { return m_path; }
    QPushButton *browseButton() const { return m_browse; }
    QLineEdit *maskEntry() const { return m_mask; }
    MaskListEditor *masks() const { return m_masks; }
    QPushButton *startButton() const { return m_start; }
    QPushButton *stopButton() const { return m_stop; }
    QPushButton *closeButton() const { return m_close; }

private:
    QLabel *m_name = nullptr;
    QLabel *m_lastUpdated = nullptr;
    QLineEdit *m_path = nullptr;
    QPushButton *m_browse = nullptr;
    ScanOptionBoxes m_options;
    QCheckBox *m_confirmZip = nullptr;
    QLineEdit *m_mask = nullptr;
    QListWidget *m_maskList = nullptr;
    MaskListEditor *m_masks = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
