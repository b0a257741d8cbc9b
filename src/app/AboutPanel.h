#pragma once

#include <QWidget>

class SpinningDisc;

// The controls of the about panel (Aboutdlg): the turning disc, the
// program's name, version and author, and the mail and home page links.
class AboutPanel : public QWidget
{
    Q_OBJECT
public:
    explicit AboutPanel(QWidget *parent = nullptr);

    void stopDisc();

signals:
    // A link was followed; address is empty when the build set none.
    void linkClicked(const QString &address);

private:
    SpinningDisc *m_disc = nullptr;
};
