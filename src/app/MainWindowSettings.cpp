// The guard of the settings file: one the window could not read is never
// written in that run, and the user hears of it once.
#include "MainWindow.h"

bool MainWindow::checkSettingsReadable()
{
    if (!m_ctx.settings().isUnreadable())
        return true;
    if (!m_settingsUnreadableShown)
        m_ctx.dialogs().error(m_ctx.settings().lastError());
    m_settingsUnreadableShown = true;
    return false;
}
