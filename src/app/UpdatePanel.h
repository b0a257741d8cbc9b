#pragma once

#include "ScanOptionBoxes.h"

#include "library/ScanOptions.h"

#include <QWidget>

class MaskListEditor;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The update panel (Updatedlg): the catalog's name and last update, the
// path to rescan, the scan options and masks the catalog was made with, and
// the run's buttons, whose presses it passes on as signals.
class UpdatePanel : public QWidget
{
    Q_OBJECT
public:
    explicit UpdatePanel(QWidget *parent = nullptr);

    ScanOptions options() const;
    void setOptions(const ScanOptions &options);
    bool confirmZip() const;
    QStringList masks() const;
    void setMasks(const QStringList &masks);
    void clearMasks();

    // Shows the catalog to update, with the mask entry back at "*.*".
    void showCatalog(const QString &name, const QString &lastUpdated);
    QString path() const;
    void setPath(const QString &path);

    // While running only Stop is enabled; Stop goes off once the run can no
    // longer be stopped.
    void setRunning(bool running);
    void disableStop();

signals:
    void browseClicked();
    void startClicked();
    void stopClicked();
    void closeClicked();
    // F5 and F6 in the mask entry box.
    void clearMasksRequested();
    void restoreMasksRequested();

private:
    QLabel *m_name = nullptr;
    QLabel *m_lastUpdated = nullptr;
    QLineEdit *m_path = nullptr;
    ScanOptionBoxes m_options;
    QCheckBox *m_confirmZip = nullptr;
    QLineEdit *m_mask = nullptr;
    MaskListEditor *m_masks = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
