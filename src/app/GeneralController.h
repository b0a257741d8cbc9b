#pragma once

#include "FeatureController.h"

class AboutPanel;
class ColourPanel;
class HelpWindow;

// The General menu: tooltips on and off, the hint and text colours, the
// help window and the about panel.
class GeneralController : public FeatureController
{
    Q_OBJECT
public:
    GeneralController(AppContext &context, QObject *parent);

    void createPanels() override;
    void collectStoredProperties() override;
    HelpWindow *helpWindow() const { return m_help; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggleTooltips();
    void applyTooltips(bool on, bool announce);
    void showColourPanel();
    void applyHintColour(int value);
    void applyTextColour(int value);
    void showHelp();
    void showAbout();
    void followAboutLink(const QString &address);

    bool m_tooltipsOn = true;
    ColourPanel *m_colours = nullptr;
    AboutPanel *m_about = nullptr;
    HelpWindow *m_help = nullptr; // Form3
};
