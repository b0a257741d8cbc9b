#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// The controls of the search and replace panel for file comments (SandRdlg):
// the text to search for, its replacement, and the Search and Close buttons,
// passed on as signals.
class CommentReplacePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CommentReplacePanel(QWidget *parent = nullptr);

    // A new search starts with both boxes empty, the cursor in the first.
    void startNewSearch();
    QString searchText() const;
    QString replacement() const;
    // While a run goes on, neither button can be pressed.
    void setRunning(bool running);

signals:
    void searchRequested();
    void closeRequested();

private:
    QLineEdit *m_search = nullptr;         // Edit1
    QLineEdit *m_replacement = nullptr;    // Edit2
    QPushButton *m_searchButton = nullptr; // Button1
    QPushButton *m_closeButton = nullptr;  // Button2
};
