#include "ComparisonBoxes.h"

#include "PanelWidgets.h"

#include "settings/FormValues.h"

#include <QBoxLayout>
#include <QCheckBox>

namespace {

QString storedKey(const QCheckBox *box)
{
    return box->objectName() + QStringLiteral("_Checked");
}

} // namespace

ComparisonBoxes::ComparisonBoxes(QWidget *parent, QBoxLayout *layout, const QString &prefix)
{
    m_byName =
        PanelWidgets::checkBox(parent, prefix + QStringLiteral("name"), QStringLiteral("Compare By Name"));
    m_bySize =
        PanelWidgets::checkBox(parent, prefix + QStringLiteral("size"), QStringLiteral("Compare By Size"));
    m_byDate =
        PanelWidgets::checkBox(parent, prefix + QStringLiteral("date"), QStringLiteral("Compare By Date"));
    for (QCheckBox *box : {m_byName, m_bySize, m_byDate}) {
        box->setChecked(true);
        layout->addWidget(box);
    }
}

DuplicateFinder::Criteria ComparisonBoxes::criteria() const
{
    DuplicateFinder::Criteria c;
    c.name = m_byName->isChecked();
    c.size = m_bySize->isChecked();
    c.date = m_byDate->isChecked();
    return c;
}

void ComparisonBoxes::restore(const FormValues &form)
{
    for (QCheckBox *box : {m_byName, m_bySize, m_byDate})
        box->setChecked(form.boolean(storedKey(box)));
}

void ComparisonBoxes::store(FormValues &form) const
{
    for (const QCheckBox *box : {m_byName, m_bySize, m_byDate})
        form.setBoolean(storedKey(box), box->isChecked());
}
