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
    // Shows the panel in front, its status reset to "Ready...", at its home
    // position kept inside the client area. A panel still at its default
    // place steps aside, so it covers neither the corner of another shown
    // panel nor keepVisible (in the parent's coordinates).
    void showPanel(const QRect &keepVisible = QRect());
    // The position the panel opens at, relative to the client area (the
    // window's area below its menu bar): the stored one, or where it was left.
    QPoint homePosition() const { return m_home; }
    void setHomePosition(const QPoint &position);
    // The home position the panel has before anyone chose one.
    void setDefaultPosition(const QPoint &position) { m_default = position; }
    // Keeps a shown panel inside the client area after a move or a window
    // resize; the home position follows only when the user moved the panel.
    void clampToParent();
    // The parent's area below its menu bar, in the parent's coordinates.
    QRect clientArea() const;

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
    void placeInside();
    // Where a panel at its default place opens, relative to the client area.
    QPoint freePlace(const QRect &keepVisible) const;
    bool coversOthers(const QRect &geometry, const QRect &keepVisible) const;
    int titleBarHeight() const;
    // Any click inside the panel brings it forward, so its descendants report
    // their clicks, including those added later.
    void watchClicks(QObject *object);

    QPoint m_home;
    QPoint m_default;
    bool m_movedByUser = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
