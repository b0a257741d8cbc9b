#include "DuplicatePanel.h"

#include "PanelWidgets.h"

#include "CheckTreeView.h"
#include "settings/FormValues.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

namespace {

const QString kByName = QStringLiteral("Comparename_Checked");
const QString kBySize = QStringLiteral("Comparesize_Checked");
const QString kByDate = QStringLiteral("Comparedate_Checked");

} // namespace

DuplicatePanel::DuplicatePanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("Comparison can be based on name, size, and date"), this));
    m_tree = named(new CheckTreeView(this), "TreeView3");
    m_tree->setAccessibleName(QStringLiteral("Check Desired Categories"));
    m_tree->setMinimumSize(240, 140);
    layout->addWidget(m_tree, 1);

    m_byName = named(new QCheckBox(QStringLiteral("Compare By Name"), this), "Comparename");
    m_bySize = named(new QCheckBox(QStringLiteral("Compare By Size"), this), "Comparesize");
    m_byDate = named(new QCheckBox(QStringLiteral("Compare By Date"), this), "Comparedate");
    for (QCheckBox *box : {m_byName, m_bySize, m_byDate}) {
        box->setChecked(true);
        layout->addWidget(box);
    }

    auto *buttons = new QHBoxLayout;
    m_start = named(new QPushButton(QStringLiteral("Find Dupe"), this), "Dupstart");
    m_stop = named(new QPushButton(QStringLiteral("Stop"), this), "Dupstop");
    m_close = named(new QPushButton(QStringLiteral("Close"), this), "Dupclose");
    m_stop->setEnabled(false);
    for (QPushButton *b : {m_start, m_stop, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &DuplicatePanel::startClicked);
    connect(m_stop, &QPushButton::clicked, this, &DuplicatePanel::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &DuplicatePanel::closeClicked);
}

DuplicateFinder::Criteria DuplicatePanel::criteria() const
{
    DuplicateFinder::Criteria c;
    c.name = m_byName->isChecked();
    c.size = m_bySize->isChecked();
    c.date = m_byDate->isChecked();
    return c;
}

void DuplicatePanel::showCategories(const CategoryTree &tree)
{
    m_tree->rebuild(tree);
}

CheckTree DuplicatePanel::tickedCatalogs() const
{
    return m_tree->checkTree();
}

void DuplicatePanel::restore(const FormValues &form)
{
    m_byName->setChecked(form.boolean(kByName));
    m_bySize->setChecked(form.boolean(kBySize));
    m_byDate->setChecked(form.boolean(kByDate));
}

void DuplicatePanel::store(FormValues &form) const
{
    const DuplicateFinder::Criteria c = criteria();
    form.setBoolean(kByName, c.name);
    form.setBoolean(kBySize, c.size);
    form.setBoolean(kByDate, c.date);
}

void DuplicatePanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running);
}
