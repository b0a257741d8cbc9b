#pragma once

#include <QLabel>

// A label that behaves as a link: blue text and a hand while pointed at,
// black and the normal pointer again when the pointer leaves. It takes the
// keyboard focus too, and Enter or Space follows it like a click.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString &objectName, const QString &text, QWidget *parent);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setTextColour(Qt::GlobalColor colour);
};
