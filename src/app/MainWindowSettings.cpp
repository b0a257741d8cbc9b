// The guard of the settings file: one the window could not read is never
// written in that run, and the user hears of it once.
#include "MainWindow.h"

bool MainWindow::checkSettingsReadable()
{
    if (!m_settings.isUnreadable())
        return true;
    if (!m_settingsUnreadableShown)
        m_dialogs.error(m_settings.lastError());
    m_settingsUnreadableShown = true;
    return false;
}
