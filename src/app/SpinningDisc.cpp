#include "SpinningDisc.h"

#include <QPainter>
#include <QVariantAnimation>

SpinningDisc::SpinningDisc(QWidget *parent) : QWidget(parent), m_turn(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("Animate1"));
    setAccessibleName(QStringLiteral("Spinning disc"));
    setMinimumSize(sizeHint());
    m_turn->setStartValue(0.0);
    m_turn->setEndValue(360.0);
    m_turn->setDuration(2400);
    m_turn->setLoopCount(-1);
    connect(m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant &angle) {
        m_angle = angle.toReal();
        update();
    });
}

bool SpinningDisc::isSpinning() const
{
    return m_turn->state() == QAbstractAnimation::Running;
}

void SpinningDisc::stop()
{
    m_turn->stop();
}

void SpinningDisc::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_turn->start();
}

void SpinningDisc::hideEvent(QHideEvent *event)
{
    m_turn->stop();
    QWidget::hideEvent(event);
}

void SpinningDisc::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = qMin(width(), height()) / 2.0 - 2;
    p.translate(width() / 2.0, height() / 2.0);
    p.rotate(m_angle);
    p.setPen(QPen(Qt::darkGray, 1.5));
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QPointF(0, 0), radius, radius);
    // Two bright sectors make the turning visible, as light on a CD.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 170, 255, 150));
    const QRectF box(-radius, -radius, 2 * radius, 2 * radius);
    p.drawPie(box, 20 * 16, 40 * 16);
    p.drawPie(box, 200 * 16, 40 * 16);
    p.setBrush(palette().window());
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawEllipse(QPointF(0, 0), radius / 4, radius / 4);
}
