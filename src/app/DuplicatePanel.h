#pragma once

#include "queries/DuplicateFinder.h"

#include <QWidget>

class CheckTreeView;
class QCheckBox;
class QPushButton;

// The controls of the duplicate finder panel (Dupdlg): the check tree, the
// three comparison boxes, and Find Dupe, Stop and Close.
class DuplicatePanel : public QWidget
{
    Q_OBJECT
public:
    explicit DuplicatePanel(QWidget *parent = nullptr);

    CheckTreeView *tree() const { return m_tree; }

    DuplicateFinder::Criteria criteria() const;
    void setCriteria(const DuplicateFinder::Criteria &criteria);
    // Running: Find Dupe and Close off, Stop on; idle: the reverse.
    void setRunning(bool running);

signals:
    void startClicked();
    void stopClicked();
    void closeClicked();

private:
    CheckTreeView *m_tree = nullptr;
    QCheckBox *m_byName = nullptr;
    QCheckBox *m_bySize = nullptr;
    QCheckBox *m_byDate = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
