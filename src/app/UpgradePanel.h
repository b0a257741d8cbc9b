#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The controls of "Upgrade To v2.0": the old installation directory and one
// row per import, whose label shows that import's progress and result.
class UpgradePanel : public QWidget
{
    Q_OBJECT
public:
    enum Row { Columns, Comments, Masks, Catalogs, RowCount };

    explicit UpgradePanel(QWidget *parent = nullptr);

    QLineEdit *directoryBox() const { return m_directory; }
    QPushButton *browseButton() const { return m_browse; }
    QPushButton *importButton(Row row) const { return m_import[row]; }
    QLabel *label(Row row) const { return m_label[row]; }
    void setLabel(Row row, const QString &text);
    // Each row's own caption again.
    void resetLabels();

private:
    QLineEdit *m_directory = nullptr;
    QPushButton *m_browse = nullptr;
    QLabel *m_label[RowCount] = {};
    QPushButton *m_import[RowCount] = {};
};
