#pragma once

#include "ComparisonBoxes.h"
#include "queries/CheckTree.h"
#include "queries/DuplicateFinder.h"

#include <QWidget>

#include <memory>

class CategoryTree;
class CheckTreeView;
class FormValues;
class QPushButton;

// The controls of the duplicate finder panel (Dupdlg): the check tree, the
// three comparison boxes, and Find Dupe, Stop and Close.
class DuplicatePanel : public QWidget
{
    Q_OBJECT
public:
    explicit DuplicatePanel(QWidget *parent = nullptr);

    // The categories and catalogs of tree, every box unticked.
    void showCategories(const CategoryTree &tree);
    // A copy: ticks changed while a run goes on apply to the next one.
    CheckTree tickedCatalogs() const;

    DuplicateFinder::Criteria criteria() const;
    // The comparison boxes as stored in the form.
    void restore(const FormValues &form);
    void store(FormValues &form) const;
    // Running: Find Dupe and Close off, Stop on; idle: the reverse.
    void setRunning(bool running);

signals:
    void startClicked();
    void stopClicked();
    void closeClicked();

private:
    CheckTreeView *m_tree = nullptr;
    std::unique_ptr<ComparisonBoxes> m_comparison;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
