#include "GeneralController.h"

#include "AboutPanel.h"
#include "AppContext.h"
#include "ColourPanel.h"
#include "HelpWindow.h"
#include "ToolPanel.h"
#include "settings/NamedColours.h"

#include <QApplication>
#include <QDesktopServices>
#include <QToolTip>
#include <QUrl>

namespace {

const QString kColourPanel = QStringLiteral("Colordlg");
const QString kAboutPanel = QStringLiteral("Aboutdlg");
const QString kTooltips = QStringLiteral("TooltipsOn1");
const QString kHintKey = QStringLiteral("Hintcolorcombo_ColorValue");
const QString kTextKey = QStringLiteral("Textcolorcombo_ColorValue");

QColor qtColour(int value)
{
    return QColor::fromRgb(QRgb(NamedColours::rgb(value)));
}

} // namespace

GeneralController::GeneralController(AppContext &context, QObject *parent)
    : FeatureController(context, parent)
{
    m_ctx.onCommand(kTooltips, this, &GeneralController::toggleTooltips);
    m_ctx.onCommand(QStringLiteral("SetTooltipAndTextColor1"), this, &GeneralController::showColourPanel);
    m_ctx.onCommand(QStringLiteral("Help1"), this, &GeneralController::showHelp);
    m_ctx.onCommand(QStringLiteral("About1"), this, &GeneralController::showAbout);
}

void GeneralController::createPanels()
{
    applyTooltips(m_ctx.form().boolean(QStringLiteral("TooltipsOn1_Checked")), false);

    ToolPanel *colours = m_ctx.addPanel(kColourPanel, QStringLiteral("Set Text And Hint Color"));
    m_colours = new ColourPanel(colours->body());
    colours->setContent(m_colours);
    // Hints are yellow from the start; the window's text keeps the system's
    // colour until a picker changes.
    applyHintColour(m_colours->hintColour());
    connect(m_colours, &ColourPanel::hintColourChanged, this, &GeneralController::applyHintColour);
    connect(m_colours, &ColourPanel::textColourChanged, this, &GeneralController::applyTextColour);
    m_colours->restoreHintColour(m_ctx.form().integer(kHintKey));
    m_colours->restoreTextColour(m_ctx.form().integer(kTextKey));

    ToolPanel *about = m_ctx.addPanel(kAboutPanel, QStringLiteral("About Kestrovane"));
    m_about = new AboutPanel(about->body());
    about->setContent(m_about);
    connect(m_about, &AboutPanel::linkClicked, this, &GeneralController::followAboutLink);
}

void GeneralController::collectStoredProperties()
{
    m_ctx.form().setBoolean(QStringLiteral("TooltipsOn1_Checked"), m_tooltipsOn);
    m_ctx.form().setInteger(kHintKey, m_colours->hintColour());
    m_ctx.form().setInteger(kTextKey, m_colours->textColour());
}

bool GeneralController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_tooltipsOn)
        return true;
    return FeatureController::eventFilter(watched, event);
}

void GeneralController::toggleTooltips()
{
    applyTooltips(!m_tooltipsOn, true);
}

void GeneralController::applyTooltips(bool on, bool announce)
{
    m_tooltipsOn = on;
    QAction *item = m_ctx.action(kTooltips);
    item->setChecked(on);
    item->setText(on ? QStringLiteral("Tooltips On") : QStringLiteral("Tooltips Off"));
    // While they are off, every hint of the program is swallowed here.
    if (on)
        qApp->removeEventFilter(this);
    else
        qApp->installEventFilter(this);
    if (announce)
        m_ctx.setStatus(item->text());
}

void GeneralController::showColourPanel()
{
    m_ctx.panel(kColourPanel)->showPanel();
}

void GeneralController::applyHintColour(int value)
{
    // Table cell hints are shown through QToolTip too, so this reaches them.
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, qtColour(value));
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
}

void GeneralController::applyTextColour(int value)
{
    QWidget *window = m_ctx.window();
    QPalette own = window->palette();
    const QColor text = qtColour(value);
    own.setColor(QPalette::WindowText, text);
    own.setColor(QPalette::Text, text);
    window->setPalette(own);
}

void GeneralController::showHelp()
{
    if (!m_help)
        m_help = new HelpWindow(m_ctx.window());
    m_help->showHelp();
}

void GeneralController::showAbout()
{
    m_ctx.panel(kAboutPanel)->showPanel();
}

void GeneralController::followAboutLink(const QString &address)
{
    if (address.isEmpty())
        return;
    // A mail client or browser that fails to start is not reported.
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
    m_about->stopDisc();
    m_ctx.panel(kAboutPanel)->hide();
    m_ctx.window()->showMinimized();
}
