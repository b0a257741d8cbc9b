#include "ToolPanel.h"

#include "settings/PanelPosition.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A dark cross on a light square: readable on any title-bar colour, unlike the
// style's own title-bar glyph, which is drawn for a native frame.
QIcon closeIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    painter.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
    return QIcon(pixmap);
}

} // namespace

ToolPanel::ToolPanel(const QString &objectName, const QString &title, QWidget *parent) : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setAccessibleName(title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    m_titleBar = new QWidget(this);
    m_titleBar->setAutoFillBackground(true);
    m_titleBar->setBackgroundRole(QPalette::Highlight);
    m_titleBar->setCursor(Qt::SizeAllCursor);
    auto *titleLayout = new QHBoxLayout(m_titleBar);
    titleLayout->setContentsMargins(4, 1, 1, 1);
    m_titleLabel = new QLabel(title, m_titleBar);
    m_titleLabel->setForegroundRole(QPalette::HighlightedText);
    titleLayout->addWidget(m_titleLabel, 1);
    auto *close = new QToolButton(m_titleBar);
    close->setObjectName(objectName + QStringLiteral("Close"));
    close->setIcon(closeIcon());
    close->setIconSize(QSize(16, 16));
    close->setAccessibleName(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close"));
    close->setFocusPolicy(Qt::TabFocus);
    titleLayout->addWidget(close);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit closeClicked();
    });
    m_titleBar->installEventFilter(this);
    m_titleLabel->installEventFilter(this);
    layout->addWidget(m_titleBar);

    m_body = new QWidget(this);
    layout->addWidget(m_body, 1);

    m_status = new QLabel(QStringLiteral("Ready..."), this);
    m_status->setObjectName(objectName + QStringLiteral("Status"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);
    layout->addWidget(m_status);
    if (parent)
        parent->installEventFilter(this);
    watchClicks(this);
    hide();
}

void ToolPanel::setContent(QWidget *content)
{
    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
}

void ToolPanel::setTitle(const QString &title)
{
    m_titleLabel->setText(title);
    setAccessibleName(title);
}

QString ToolPanel::title() const
{
    return m_titleLabel->text();
}

void ToolPanel::setStatus(const QString &text)
{
    m_status->setText(text);
}

QString ToolPanel::status() const
{
    return m_status->text();
}

void ToolPanel::showPanel(const QRect &keepVisible)
{
    setStatus(QStringLiteral("Ready..."));
    adjustSize();
    const bool atDefault = !m_movedByUser && m_home == m_default;
    placeInside();
    // The home position stays the default, so the next run cascades afresh.
    if (atDefault && parentWidget())
        move(clientArea().topLeft() + freePlace(keepVisible));
    show();
    raise();
}

void ToolPanel::setHomePosition(const QPoint &position)
{
    m_home = position;
    if (isVisible())
        placeInside();
    else
        move(clientArea().topLeft() + position);
}

QRect ToolPanel::clientArea() const
{
    QWidget *parent = parentWidget();
    if (!parent)
        return QRect();
    // The window may not be shown yet; its layout places the menu bar anyway.
    if (auto *window = qobject_cast<QMainWindow *>(parent); window && window->centralWidget()) {
        if (window->layout())
            window->layout()->activate();
        return window->centralWidget()->geometry();
    }
    return parent->rect();
}

void ToolPanel::placeInside()
{
    if (!parentWidget())
        return;
    const QRect area = clientArea();
    m_home = PanelPosition::keptInside(m_home, size(), area.size());
    move(area.topLeft() + m_home);
}

QPoint ToolPanel::freePlace(const QRect &keepVisible) const
{
    const QRect area = clientArea();
    QList<QPoint> starts{m_home};
    if (keepVisible.isValid()) {
        const QPoint beside(keepVisible.right() + 1, area.top() + m_home.y());
        const QPoint below(area.left() + m_home.x(), keepVisible.bottom() + 1);
        const QPoint above(area.left() + m_home.x(), keepVisible.top() - height());
        for (const QPoint &start : {beside, below, above})
            starts << start - area.topLeft();
    }
    const int step = titleBarHeight();
    for (const QPoint &start : starts) {
        for (QPoint place = start;; place += QPoint(step, step)) {
            const QRect geometry(area.topLeft() + place, size());
            if (!area.contains(geometry))
                break;
            if (!coversOthers(geometry, keepVisible))
                return place;
        }
    }
    return m_home;
}

bool ToolPanel::coversOthers(const QRect &geometry, const QRect &keepVisible) const
{
    if (geometry.intersects(keepVisible))
        return true;
    const int corner = titleBarHeight();
    for (QObject *sibling : parentWidget()->children()) {
        auto *other = qobject_cast<ToolPanel *>(sibling);
        if (other && other != this && other->isVisible() &&
            geometry.intersects(QRect(other->pos(), QSize(corner, corner))))
            return true;
    }
    return false;
}

int ToolPanel::titleBarHeight() const
{
    return frameWidth() + layout()->contentsMargins().top() + m_titleBar->sizeHint().height();
}

void ToolPanel::watchClicks(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children()) {
        if (child->isWidgetType())
            watchClicks(child);
    }
}

void ToolPanel::clampToParent()
{
    if (!parentWidget())
        return;
    const QRect area = clientArea();
    move(area.topLeft() + PanelPosition::keptInside(pos() - area.topLeft(), size(), area.size()));
}

bool ToolPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize && isVisible())
            clampToParent();
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ChildAdded) {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watchClicks(child);
    } else if (event->type() == QEvent::MouseButtonPress) {
        raise();
    }
    if (watched != m_titleBar && watched != m_titleLabel)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragOffset = e->globalPosition().toPoint() - pos();
            raise();
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset);
            clampToParent();
            m_home = pos() - clientArea().topLeft();
            m_movedByUser = true;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}
