#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

// The controls of the category and catalog comment panel (Catcommdlg): what
// the node is and its name, how many catalogs a category holds, the comment
// box, and the Accept, Cancel and Clear buttons. Clear acts here; Accept and
// Cancel are passed on as signals.
class TreeCommentPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TreeCommentPanel(QWidget *parent = nullptr);

    void showCategory(const QString &name, int catalogCount, const QString &comment);
    void showCatalog(const QString &name, const QString &comment);
    // The name of the node shown, under which its comment is stored.
    QString nodeName() const;
    QString comment() const;

signals:
    void acceptRequested();
    void cancelRequested();

private:
    void showNode(const QString &kind, const QString &name, const QString &comment);

    QLabel *m_kind = nullptr;            // Catcommkind
    QLabel *m_name = nullptr;            // Catcommname
    QLabel *m_count = nullptr;           // Catcommcount
    QPlainTextEdit *m_comment = nullptr; // Catcommmemo
};
