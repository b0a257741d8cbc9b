#pragma once

#include <QFrame>

class QLabel;
class QVBoxLayout;

// A tool panel: a frame floating inside the main window, moved by its title
// bar, whose close button only hides it. It has a status bar of its own that
// reads "Ready..." whenever the panel is shown.
class ToolPanel : public QFrame
{
    Q_OBJECT
public:
    ToolPanel(const QString &objectName, const QString &title, QWidget *parent);

    void setTitle(const QString &title);
    QString title() const;
    // The area that holds the panel's controls.
    QWidget *body() const { return m_body; }
    // Fills the body with one widget of controls, which the panel takes.
    void setContent(QWidget *content);
    void setStatus(const QString &text);
    QString status() const;
    // Shows the panel in front, its status reset to "Ready...".
    void showPanel();
    // Keeps the panel inside its parent after a move or a parent resize.
    void clampToParent();

signals:
    // The title bar's close button was pressed (the panel is already hidden).
    void closeClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_titleBar = nullptr;
    QLabel *m_titleLabel = nullptr;
    QWidget *m_body = nullptr;
    QLabel *m_status = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
