#include "AboutPanel.h"

#include "AppIdentity.h"
#include "LinkLabel.h"
#include "SpinningDisc.h"

#include <QGridLayout>
#include <QLabel>

AboutPanel::AboutPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    m_disc = new SpinningDisc(this);
    grid->addWidget(m_disc, 0, 0, 3, 1);
    const char *const lines[] = {"Name: Kestrovane", "Version : 2.0", "Author: the Kestrovane developers"};
    for (int row = 0; row < 3; ++row)
        grid->addWidget(new QLabel(QLatin1String(lines[row]), this), row, 1);

    struct Link {
        const char *objectName;
        const char *text;
        QString address;
        QString url;
        const char *unset;
    };
    const QString email = AppIdentity::contactEmail();
    const QString home = AppIdentity::homepageUrl();
    const Link links[] = {
        {"Emaillabel", "Click here to send me an e-mail", email,
         email.isEmpty() ? QString() : QStringLiteral("mailto:") + email,
         "No e-mail address was set when this program was built"},
        {"Homepagelabel", "Click here to visit my homepage", home, home,
         "No home page address was set when this program was built"},
    };
    int row = 3;
    for (const Link &link : links) {
        auto *label = new LinkLabel(QLatin1String(link.objectName), QLatin1String(link.text), this);
        label->setToolTip(link.address.isEmpty() ? QLatin1String(link.unset) : link.address);
        const QString url = link.url;
        connect(label, &LinkLabel::clicked, this, [this, url] { emit linkClicked(url); });
        grid->addWidget(label, row++, 0, 1, 2);
    }
}

void AboutPanel::stopDisc()
{
    m_disc->stop();
}
