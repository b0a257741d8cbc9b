#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

// The manual's window: the help document on black, opened maximised and
// brought to the front. Links inside the document scroll it.
class HelpWindow : public QWidget
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
