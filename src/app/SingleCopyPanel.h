#pragma once

#include "ComparisonBoxes.h"
#include "queries/CheckTree.h"
#include "queries/SingleCopyFinder.h"

#include <QWidget>

#include <memory>

class CategoryTree;
class CheckTreeView;
class FormValues;
class QLabel;
class QPushButton;

// The controls of the single-copy panel (Singledlg): the check tree, the
// three comparison boxes, and Find, Stop and Close. It asks either across
// the ticked catalogs or about one catalog, which it names and leaves out of
// the tree, so the tree holds the catalogs it is compared with.
class SingleCopyPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SingleCopyPanel(QWidget *parent = nullptr);

    // The single copies among the catalogs of tree, every box ticked.
    void askAcross(const CategoryTree &tree);
    // The files of catalog found nowhere else among the other catalogs of
    // tree, every box ticked.
    void askAbout(const QString &catalog, const CategoryTree &tree);
    // The catalog asked about; empty when asking across the ticked ones.
    const QString &catalog() const { return m_catalog; }
    // A copy: ticks changed while a run goes on apply to the next one.
    CheckTree tickedCatalogs() const;

    SingleCopyFinder::Criteria criteria() const;
    // The comparison boxes as stored in the form.
    void restore(const FormValues &form);
    void store(FormValues &form) const;
    // Running: Find and Close off, Stop on; idle: the reverse.
    void setRunning(bool running);

signals:
    void startClicked();
    void stopClicked();
    void closeClicked();

private:
    void showTree(const CategoryTree &tree);

    QString m_catalog;
    QLabel *m_asked = nullptr;
    CheckTreeView *m_tree = nullptr;
    std::unique_ptr<ComparisonBoxes> m_comparison;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
