#pragma once

#include <QWidget>

class QVariantAnimation;

// The about panel's picture: a disc that turns while it is on screen and
// rests while hidden, so a closed panel costs no timer.
class SpinningDisc : public QWidget
{
    Q_OBJECT
public:
    explicit SpinningDisc(QWidget *parent = nullptr);

    bool isSpinning() const;
    void stop();
    QSize sizeHint() const override { return {72, 72}; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QVariantAnimation *m_turn = nullptr;
    qreal m_angle = 0;
};
