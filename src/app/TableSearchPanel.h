#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The controls of the table search panel (Searchtabledlg): the text to
// find, the three options and the two buttons. The main window runs the
// search over whatever the table shows.
class TableSearchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TableSearchPanel(QWidget *parent = nullptr);

    QString text() const;
    // The option bits of the three boxes, as the matcher reads them.
    int options() const;
    // Opening the panel puts the keyboard focus in the text box.
    void focusText();

signals:
    void findFirstClicked();
    void findNextClicked();

private:
    QLineEdit *m_text = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QCheckBox *m_wholeWords = nullptr;
    QCheckBox *m_wildCards = nullptr;
    QPushButton *m_findFirst = nullptr;
    QPushButton *m_findNext = nullptr;
};
