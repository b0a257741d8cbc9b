#include "HelpWindow.h"

#include "HelpDocument.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>

const QString HelpWindow::Caption = QStringLiteral("Kestrovane Help");

HelpWindow::HelpWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(Caption);
    setAccessibleName(Caption);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("RichEdit1"));
    m_browser->setAccessibleName(QStringLiteral("Help text"));
    // Jumps stay in the document, through followLink.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setTextInteractionFlags(Qt::TextBrowserInteraction);
    QPalette black = m_browser->palette();
    black.setColor(QPalette::Base, Qt::black);
    black.setColor(QPalette::Text, Qt::white);
    m_browser->setPalette(black);
    m_browser->setHtml(HelpDocument::html());
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    setCentralWidget(m_browser);
    setFocusProxy(m_browser);
}

void HelpWindow::showHelp()
{
    showMaximized();
    raise();
    activateWindow();
}

void HelpWindow::followLink(const QUrl &url)
{
    const QString anchor = url.fragment();
    if (anchor == HelpDocument::topAnchor())
        m_browser->verticalScrollBar()->setValue(0);
    else if (!anchor.isEmpty())
        m_browser->scrollToAnchor(anchor);
}
