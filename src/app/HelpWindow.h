#pragma once

#include <QMainWindow>

class QTextBrowser;
class QUrl;

// The manual's window: the help document on black, opened maximised and
// brought to the front. Links inside the document scroll it; Tab moves from
// link to link and Enter follows the one with the focus. A main window, so
// screen readers announce a window holding the readable text.
class HelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    static const QString Caption; // "Kestrovane Help"

    explicit HelpWindow(QWidget *parent = nullptr);

    void showHelp();
    void followLink(const QUrl &url);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};
