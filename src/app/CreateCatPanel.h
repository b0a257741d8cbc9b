#pragma once

#include "ScanOptionBoxes.h"

#include "library/ScanOptions.h"

#include <QWidget>

class MaskListEditor;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The create panel (CreateCat): the directory to index, the scan options,
// the mask list, the catalog name and the run's buttons. The controller
// hears what was pressed through the signals; the panel lays the controls
// out and keeps the keys that mean something here.
class CreateCatPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CreateCatPanel(QWidget *parent = nullptr);

    ScanOptions options() const;
    void setOptions(const ScanOptions &options);
    bool confirmZip() const;
    void setConfirmZip(bool on);
    QStringList masks() const;
    void setMasks(const QStringList &masks);
    void clearMasks();

    QString directory() const;
    // Shows the directory, its full path also as the box's tooltip.
    void setDirectory(const QString &path);
    QString catalogName() const;
    void setCatalogName(const QString &name);
    void focusCatalogName();

    // Index while idle, Stop while running.
    void setRunning(bool running);
    void setSaveEnabled(bool enabled);
    void setDiskLabelEnabled(bool enabled);

signals:
    void browseClicked();
    void diskLabelClicked();
    void ejectClicked();
    void indexClicked();
    void stopClicked();
    void saveClicked();
    // F9 in the catalog-name box: refresh the volume information.
    void refreshVolumeRequested();
    // F5 and F6 in the mask entry box.
    void clearMasksRequested();
    void restoreMasksRequested();
    // A check box was ticked or cleared, or the mask list changed.
    void storedChoicesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_catDir = nullptr;
    ScanOptionBoxes m_options;
    QCheckBox *m_confirmZip = nullptr;
    MaskListEditor *m_masks = nullptr;
    QLineEdit *m_catalogName = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_diskLabel = nullptr;
};
