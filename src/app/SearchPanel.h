#pragma once

#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"

#include <QWidget>

class CategoryTree;
class CheckTreeView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The controls of the catalog search panel (Searchcatdlg): the check tree,
// the three search modes with their boxes, and Search, Stop and Close. The
// queries controller runs the search; the panel reads its controls into a
// request and tells when ENTER asks for a start.
class SearchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SearchPanel(QWidget *parent = nullptr);

    // The categories and catalogs of tree, every box unticked.
    void showCategories(const CategoryTree &tree);
    // A copy: ticks changed while a search runs apply to the next one.
    CheckTree tickedCatalogs() const;
    // Every catalog ticked and every file asked for (by extension, "*.*").
    void chooseEveryFile();

    CatalogSearch::Mode mode() const;
    CatalogSearch::Request request() const;

    // The history as the drop-down list of Searchword; its text stays.
    void setHistory(const QStringList &words);
    QStringList history() const;
    // Opening: the word box is emptied and takes the focus.
    void prepare();
    // Searching: Search and Close off, Stop on; idle: the reverse.
    void setRunning(bool running);

signals:
    void searchClicked();
    void stopClicked();
    void closeClicked();
    void clearHistoryClicked();
    // ENTER in a box of the selected mode while that mode's boxes are filled.
    void enterSearch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createModes();
    // Whether ENTER in watched starts the search.
    bool enterStarts(QObject *watched) const;
    void watchEnter(QWidget *widget);

    CheckTreeView *m_tree = nullptr;
    QRadioButton *m_byWord = nullptr;
    QRadioButton *m_byExtension = nullptr;
    QRadioButton *m_byDate = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QComboBox *m_searchWord = nullptr;
    QPushButton *m_clearHistory = nullptr;
    QComboBox *m_extension = nullptr;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QPushButton *m_search = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
