#pragma once

#include "ScanOptionBoxes.h"

#include "library/ScanOptions.h"

#include <QWidget>

class MaskListEditor;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The controls of the create panel (CreateCat): the directory box, the scan
// options, the mask list, the catalog-name box and the run's buttons. The
// main window does the wiring; the panel only lays the controls out and
// reports the keys that mean something here.
class CreateCatPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CreateCatPanel(QWidget *parent = nullptr);

    ScanOptions options() const;
    void setOptions(const ScanOptions &options);
    bool confirmZip() const;
    void setConfirmZip(bool on);

    QLineEdit *directoryBox() const { return m_catDir; }
    QPushButton *browseButton() const { return m_browse; }
    QLineEdit *nameBox() const { return m_catalogName; }
    QLineEdit *maskEntry() const { return m_maskName; }
    QListWidget *maskList() const { return m_maskList; }
    MaskListEditor *masks() const { return m_masks; }
    QPushButton *indexButton() const { return m_start; }
    QPushButton *stopButton() const { return m_stop; }
    QPushButton *ejectButton() const { return m_eject; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *diskLabelButton() const { return m_diskLabel; }

signals:
    // F9 in the catalog-name box: refresh the volume information.
    void refreshVolumeRequested();
    // A check box was ticked or cleared.
    void optionsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_catDir = nullptr;
    QPushButton *m_browse = nullptr;
    ScanOptionBoxes m_options;
    QCheckBox *m_confirmZip = nullptr;
    QLineEdit *m_maskName = nullptr;
    QListWidget *m_maskList = nullptr;
    MaskListEditor *m_masks = nullptr;
    QLineEdit *m_catalogName = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_eject = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_diskLabel = nullptr;
};
