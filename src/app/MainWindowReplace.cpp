// Search and replace in file comments: the SandRdlg panel.
#include "MainWindow.h"

#include "PanelWidgets.h"
#include "ToolPanel.h"
#include "indexing/RunControl.h"
#include "queries/CommentReplace.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kReplacePanel = QStringLiteral("SandRdlg");

// The run never yields, so each text is painted at once.
class PanelProgress : public RunControl
{
public:
    explicit PanelProgress(ToolPanel *panel) : m_panel(panel) {}
    void progress(const QString &text) override
    {
        m_panel->setStatus(text);
        m_panel->repaint();
    }

private:
    ToolPanel *m_panel;
};

QLineEdit *textBox(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *box = PanelWidgets::named(new QLineEdit(parent), name);
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

void MainWindow::createReplacePanel()
{
    ToolPanel *p =
        m_ctx.addPanel(kReplacePanel, QStringLiteral("Search And Replace File Comments (Case sensitive)"));
    QWidget *body = p->body();
    m_sandrSearch = textBox(body, "Edit1", QStringLiteral("Search For"));
    m_sandrReplace = textBox(body, "Edit2", QStringLiteral("Replace With"));
    m_sandrSearchButton = PanelWidgets::button(body, QStringLiteral("Button1"), QStringLiteral("Search"));
    m_sandrCloseButton = PanelWidgets::button(body, QStringLiteral("Button2"), QStringLiteral("Close"));
    m_sandrSearchButton->setAccessibleName(QStringLiteral("Search"));
    m_sandrCloseButton->setAccessibleName(QStringLiteral("Close"));
    auto *searchLabel = new QLabel(QStringLiteral("Search For:"), body);
    auto *replaceLabel = new QLabel(QStringLiteral("Replace With:"), body);
    searchLabel->setBuddy(m_sandrSearch);
    replaceLabel->setBuddy(m_sandrReplace);
    auto *grid = new QGridLayout(body);
    grid->addWidget(searchLabel, 0, 0);
    grid->addWidget(m_sandrSearch, 0, 1, 1, 2);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_sandrReplace, 1, 1, 1, 2);
    grid->addWidget(m_sandrSearchButton, 2, 1);
    grid->addWidget(m_sandrCloseButton, 2, 2);
    m_sandrSearch->setMinimumWidth(240);
    connect(m_sandrSearchButton, &QPushButton::clicked, this, &MainWindow::replaceInComments);
    connect(m_sandrCloseButton, &QPushButton::clicked, p, &QWidget::hide);
    connectCommand(QStringLiteral("SearchAndReplace1"), &MainWindow::showReplacePanel);
    m_ctx.holdBackWhileRunning({"SearchAndReplace1"});
}

void MainWindow::showReplacePanel()
{
    m_ctx.table().offerSaveChanges();
    m_sandrSearch->clear();
    m_sandrReplace->clear();
    panel(kReplacePanel)->showPanel();
    m_sandrSearch->setFocus();
}

void MainWindow::setReplaceRunning(bool running)
{
    m_sandrSearchButton->setEnabled(!running);
    m_sandrCloseButton->setEnabled(!running);
    setBusy(running);
}

void MainWindow::replaceInComments()
{
    const QString search = m_sandrSearch->text();
    const QString replacement = m_sandrReplace->text();
    if (search.isEmpty() || replacement.isEmpty())
        return;
    // Table edits made since the panel opened would be saved over the new
    // comments later, or lost by the reload at the end.
    m_ctx.table().offerSaveChanges();
    ToolPanel *p = panel(kReplacePanel);
    setReplaceRunning(true);
    PanelProgress progress(p);
    const CommentReplace::Result result =
        CommentReplace(m_ctx.library(), m_ctx.state()).run(search, replacement, progress);
    setReplaceRunning(false);
    if (result.outcome == CommentReplace::Outcome::NoCatalogs) {
        m_ctx.dialogs().warning(result.message);
        p->hide();
        return;
    }
    if (result.outcome == CommentReplace::Outcome::Failed) {
        m_ctx.dialogs().error(result.message);
        return;
    }
    const QString owner = m_ctx.state().tableOwner();
    if (!owner.isEmpty())
        m_ctx.table().openCatalog(owner);
}
