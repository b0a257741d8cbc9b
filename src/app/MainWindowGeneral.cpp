// The General menu: hint and text colours, the help window and the about
// panel. Tooltips and the tray live with start-up (MainWindowStartup.cpp).
#include "MainWindow.h"

#include "AppIdentity.h"
#include "HelpWindow.h"
#include "LinkLabel.h"
#include "SpinningDisc.h"
#include "ToolPanel.h"
#include "settings/NamedColours.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QToolTip>
#include <QUrl>

namespace
{

QColor qtColour(int value)
{
    return QColor::fromRgb(QRgb(NamedColours::rgb(value)));
}

QIcon swatch(int value)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(qtColour(value));
    QPainter(&pixmap).drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

int pickerValue(const QComboBox *picker)
{
    return picker->currentData().toInt();
}

} // namespace

void MainWindow::connectGeneralCommands()
{
    connectCommand(QStringLiteral("SetTooltipAndTextColor1"), &MainWindow::SetTooltipAndTextColor1Click);
    connectCommand(QStringLiteral("Help1"), &MainWindow::Help1Click);
    connectCommand(QStringLiteral("About1"), &MainWindow::About1Click);
}

void MainWindow::createGeneralPanels()
{
    createColordlg();
    createAboutdlg();
}

QComboBox *MainWindow::createColourPicker(const QString &objectName, const QString &caption, int initial)
{
    auto *picker = new QComboBox;
    picker->setObjectName(objectName);
    picker->setAccessibleName(caption);
    for (const NamedColours::Colour &colour : NamedColours::all())
        picker->addItem(swatch(colour.value), QLatin1String(colour.name), colour.value);
    picker->setCurrentIndex(NamedColours::indexOf(initial));
    return picker;
}

void MainWindow::createColordlg()
{
    ToolPanel *panel = m_ctx.addPanel(QStringLiteral("Colordlg"), QStringLiteral("Set Text And Hint Color"));
    auto *grid = new QGridLayout(panel->body());
    m_hintColour = createColourPicker(QStringLiteral("Hintcolorcombo"), QStringLiteral("Tooltip Color:"),
                                      NamedColours::Yellow);
    m_textColour = createColourPicker(QStringLiteral("Textcolorcombo"), QStringLiteral("Text Color:"),
                                      NamedColours::Black);
    int row = 0;
    for (QComboBox *picker : {m_hintColour, m_textColour}) {
        auto *label = new QLabel(picker->accessibleName(), panel->body());
        label->setBuddy(picker);
        grid->addWidget(label, row, 0);
        grid->addWidget(picker, row++, 1);
    }
    // Hints are yellow from the start; the window's text keeps the system's
    // colour until a picker changes.
    HintcolorcomboChange();
    connect(m_hintColour, &QComboBox::currentIndexChanged, this, &MainWindow::HintcolorcomboChange);
    connect(m_textColour, &QComboBox::currentIndexChanged, this, &MainWindow::TextcolorcomboChange);
    restoreColourPicker(m_hintColour, QStringLiteral("Hintcolorcombo_ColorValue"));
    restoreColourPicker(m_textColour, QStringLiteral("Textcolorcombo_ColorValue"));
}

void MainWindow::restoreColourPicker(QComboBox *picker, const QString &key)
{
    if (const auto change = NamedColours::restoredChange(pickerValue(picker), m_ctx.form().integer(key)))
        picker->setCurrentIndex(NamedColours::indexOf(*change));
}

void MainWindow::collectGeneralProperties()
{
    m_ctx.form().setInteger(QStringLiteral("Hintcolorcombo_ColorValue"), pickerValue(m_hintColour));
    m_ctx.form().setInteger(QStringLiteral("Textcolorcombo_ColorValue"), pickerValue(m_textColour));
}

void MainWindow::SetTooltipAndTextColor1Click()
{
    panel(QStringLiteral("Colordlg"))->showPanel();
}

void MainWindow::HintcolorcomboChange()
{
    // Table cell hints are shown through QToolTip too, so this reaches them.
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, qtColour(pickerValue(m_hintColour)));
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
}

void MainWindow::TextcolorcomboChange()
{
    QPalette own = palette();
    const QColor text = qtColour(pickerValue(m_textColour));
    own.setColor(QPalette::WindowText, text);
    own.setColor(QPalette::Text, text);
    setPalette(own);
}

void MainWindow::Help1Click()
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showHelp();
}

void MainWindow::createAboutdlg()
{
    ToolPanel *panel = m_ctx.addPanel(QStringLiteral("Aboutdlg"), QStringLiteral("About Kestrovane"));
    auto *grid = new QGridLayout(panel->body());
    m_aboutDisc = new SpinningDisc(panel->body());
    grid->addWidget(m_aboutDisc, 0, 0, 3, 1);
    const char *const lines[] = {"Name: Kestrovane", "Version : 2.0", "Author: the Kestrovane developers"};
    for (int row = 0; row < 3; ++row)
        grid->addWidget(new QLabel(QLatin1String(lines[row]), panel->body()), row, 1);

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
        auto *label = new LinkLabel(QLatin1String(link.objectName), QLatin1String(link.text), panel->body());
        label->setToolTip(link.address.isEmpty() ? QLatin1String(link.unset) : link.address);
        const QString url = link.url;
        connect(label, &LinkLabel::clicked, this, [this, url] { AboutLinkClick(url); });
        grid->addWidget(label, row++, 0, 1, 2);
    }
}

void MainWindow::About1Click()
{
    panel(QStringLiteral("Aboutdlg"))->showPanel();
}

void MainWindow::AboutLinkClick(const QString &address)
{
    if (address.isEmpty())
        return;
    // A mail client or browser that fails to start is not reported.
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
    m_aboutDisc->stop();
    panel(QStringLiteral("Aboutdlg"))->hide();
    showMinimized();
}
