#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Upgrade To v2.0": the old installation directory and one row per import,
// whose label shows that import's progress and result.
class UpgradePanel : public QWidget
{
    Q_OBJECT
public:
    enum Row { Columns, Comments, Masks, Catalogs, RowCount };

    explicit UpgradePanel(QWidget *parent = nullptr);

    QString directory() const;
    void setDirectory(const QString &path);
    void setLabel(Row row, const QString &text);
    // Each row's own caption again.
    void resetLabels();

signals:
    void browseClicked();
    void importClicked(UpgradePanel::Row row);

private:
    QLineEdit *m_directory = nullptr;
    QLabel *m_label[RowCount] = {};
    QPushButton *m_import[RowCount] = {};
};
