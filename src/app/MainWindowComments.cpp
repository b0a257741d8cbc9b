// Comments of categories and catalogs: the Catcommdlg panel.
#include "MainWindow.h"

#include "CategoryTreeModel.h"
#include "FeatureController.h"
#include "ToolPanel.h"
#include "library/TreeOperations.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

void MainWindow::createPanels()
{
    createTreeCommentPanel();
    createCommentWindow();
    createIndexingPanels();
    createQueryPanels();
    createReplacePanel();
    createTableSearchPanel();
    createUpgradePanel();
    for (FeatureController *feature : std::as_const(m_features))
        feature->createPanels();
}

void MainWindow::createTreeCommentPanel()
{
    ToolPanel *panel =
        m_ctx.addPanel(QStringLiteral("Catcommdlg"), QStringLiteral("Category/Catalog Comments"));
    auto *grid = new QGridLayout(panel->body());
    m_catCommKind = new QLabel(panel->body());
    m_catCommKind->setObjectName(QStringLiteral("Catcommkind"));
    m_catCommName = new QLabel(panel->body());
    m_catCommName->setObjectName(QStringLiteral("Catcommname"));
    m_catCommCount = new QLabel(panel->body());
    m_catCommCount->setObjectName(QStringLiteral("Catcommcount"));
    m_catCommText = new QPlainTextEdit(panel->body());
    m_catCommText->setObjectName(QStringLiteral("Catcommmemo"));
    m_catCommText->setAccessibleName(QStringLiteral("Comment"));
    m_catCommText->setMinimumSize(280, 100);
    auto *accept = new QPushButton(QStringLiteral("Accept Comment"), panel->body());
    accept->setObjectName(QStringLiteral("Acceptcatcomm"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), panel->body());
    cancel->setObjectName(QStringLiteral("Cancelcatcomm"));
    auto *clear = new QPushButton(QStringLiteral("Clear"), panel->body());
    clear->setObjectName(QStringLiteral("Clearcatcomm"));
    grid->addWidget(m_catCommKind, 0, 0);
    grid->addWidget(m_catCommName, 0, 1, 1, 2);
    grid->addWidget(m_catCommCount, 1, 0, 1, 3);
    grid->addWidget(m_catCommText, 2, 0, 1, 3);
    grid->addWidget(accept, 3, 0);
    grid->addWidget(cancel, 3, 1);
    grid->addWidget(clear, 3, 2);
    connect(accept, &QPushButton::clicked, this, &MainWindow::acceptTreeComment);
    connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    connect(clear, &QPushButton::clicked, m_catCommText, &QPlainTextEdit::clear);
}

void MainWindow::showTreeComment()
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!node.isValid())
        return;
    const QString name = m_treeModel->nodeText(node);
    if (CategoryTreeModel::isCategory(node)) {
        m_catCommKind->setText(QStringLiteral("Category"));
        m_catCommCount->setText(
            QStringLiteral("Contains %1 Catalog(s)").arg(m_ctx.tree().catalogCountOf(node.row())));
    } else {
        m_catCommKind->setText(QStringLiteral("Catalog"));
        m_catCommCount->clear();
    }
    m_catCommName->setText(name);
    m_catCommText->clear();
    if (m_ctx.state().treeComments.contains(name))
        m_catCommText->setPlainText(m_ctx.state().treeComments.value(name));
    panel(QStringLiteral("Catcommdlg"))->showPanel();
}

void MainWindow::acceptTreeComment()
{
    const QString key = m_catCommName->text();
    const QString comment = m_catCommText->toPlainText();
    // A new name with an empty comment only hides the panel.
    if (m_ctx.state().treeComments.contains(key) || !comment.isEmpty()) {
        if (!m_ctx.storeChange([&] {
                TreeOperations::setTreeComment(m_ctx.state(), key, comment);
                return QString();
            }))
            return; // the panel stays open with the text
    }
    panel(QStringLiteral("Catcommdlg"))->hide();
}
