#include "ToolPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

ToolPanel::ToolPanel(const QString &objectName, const QString &title, QWidget *parent) : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
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
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
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

void ToolPanel::showPanel()
{
    setStatus(QStringLiteral("Ready..."));
    adjustSize();
    clampToParent();
    show();
    raise();
}

void ToolPanel::clampToParent()
{
    if (!parentWidget())
        return;
    const QRect area = parentWidget()->rect();
    QPoint p = pos();
    p.setX(qBound(0, p.x(), qMax(0, area.width() - 40)));
    p.setY(qBound(0, p.y(), qMax(0, area.height() - 20)));
    move(p);
}

bool ToolPanel::eventFilter(QObject *watched, QEvent *event)
{
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
