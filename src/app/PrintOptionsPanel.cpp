#include "PrintOptionsPanel.h"

#include "PanelWidgets.h"
#include "settings/FormValues.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename W>
W *accessible(W *widget, const QString &name)
{
    widget->setAccessibleName(name);
    return widget;
}

// A button that opens a menu of commands, each found by its object name.
QWidget *menuButton(QWidget *parent, const QString &objectName, const QString &caption,
                    const QList<QPair<QString, QString>> &items)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *menu = new QMenu(button);
    for (const auto &[name, text] : items) {
        QAction *item = menu->addAction(text);
        item->setObjectName(name);
    }
    button->setMenu(menu);
    return button;
}

} // namespace

PrintOptionsPanel::PrintOptionsPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    auto *titleLabel = new QLabel(QStringLiteral("Title:"), this);
    m_title = accessible(PanelWidgets::named(new QLineEdit(this), "Edit3"), QStringLiteral("Title"));
    titleLabel->setBuddy(m_title);
    // Each box is captioned by what it prints; the stored keys stay those of
    // the box's place (CheckBox1 prints the time, CheckBox2 the date).
    m_time = PanelWidgets::checkBox(this, QStringLiteral("CheckBox1"), QStringLiteral("Time"));
    m_date = PanelWidgets::checkBox(this, QStringLiteral("CheckBox2"), QStringLiteral("Date"));
    m_borders = PanelWidgets::checkBox(this, QStringLiteral("CheckBox3"), QStringLiteral("Borders"));
    m_pageNumbers = PanelWidgets::checkBox(this, QStringLiteral("CheckBox4"), QStringLiteral("Page Number"));
    for (QCheckBox *box : {m_time, m_date, m_borders, m_pageNumbers})
        box->setAccessibleName(box->text());
    auto *orientation =
        accessible(PanelWidgets::named(new QGroupBox(QStringLiteral("Orientation"), this), "RadioGroup1"),
                   QStringLiteral("Orientation"));
    m_landscape =
        accessible(new QRadioButton(QStringLiteral("Landscape"), orientation), QStringLiteral("Landscape"));
    m_portrait =
        accessible(new QRadioButton(QStringLiteral("Portrait"), orientation), QStringLiteral("Portrait"));
    auto *orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(m_landscape);
    orientationLayout->addWidget(m_portrait);
    QPushButton *font = PanelWidgets::button(this, QStringLiteral("BitBtn1"), QStringLiteral("Setup Font"));
    font->setAccessibleName(font->text());
    QWidget *preview =
        menuButton(this, QStringLiteral("RxSpeedButton1"), QStringLiteral("Preview"),
                   {{QStringLiteral("PreviewAll1"), QStringLiteral("Preview All")},
                    {QStringLiteral("PreviewSelectedRegion1"), QStringLiteral("Preview Selected Region")}});
    QWidget *print =
        menuButton(this, QStringLiteral("RxSpeedButton2"), QStringLiteral("Print"),
                   {{QStringLiteral("PrintAll1"), QStringLiteral("Print All")},
                    {QStringLiteral("PrintSelectedRegion1"), QStringLiteral("Print Selected Region")}});
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 2);
    grid->addWidget(m_time, 1, 0);
    grid->addWidget(m_date, 1, 1);
    grid->addWidget(m_borders, 2, 0);
    grid->addWidget(m_pageNumbers, 2, 1);
    grid->addWidget(orientation, 1, 2, 2, 1);
    grid->addWidget(font, 3, 0);
    grid->addWidget(preview, 3, 1);
    grid->addWidget(print, 3, 2);
    connect(font, &QPushButton::clicked, this, &PrintOptionsPanel::fontClicked);
}

void PrintOptionsPanel::startNewPrintout()
{
    m_title->clear();
    m_title->setFocus();
}

PrintOptions PrintOptionsPanel::options() const
{
    PrintOptions options;
    options.title = m_title->text();
    options.time = m_time->isChecked();
    options.date = m_date->isChecked();
    options.borders = m_borders->isChecked();
    options.pageNumbers = m_pageNumbers->isChecked();
    options.landscape = landscape();
    return options;
}

bool PrintOptionsPanel::landscape() const
{
    return !m_portrait->isChecked();
}

void PrintOptionsPanel::restore(const FormValues &form)
{
    m_time->setChecked(form.boolean(QStringLiteral("CheckBox1_Checked")));
    m_date->setChecked(form.boolean(QStringLiteral("CheckBox2_Checked")));
    m_borders->setChecked(form.boolean(QStringLiteral("CheckBox3_Checked")));
    m_pageNumbers->setChecked(form.boolean(QStringLiteral("CheckBox4_Checked")));
    (form.integer(QStringLiteral("RadioGroup1_ItemIndex")) == 1 ? m_portrait : m_landscape)->setChecked(true);
}

void PrintOptionsPanel::store(FormValues &form) const
{
    form.setBoolean(QStringLiteral("CheckBox1_Checked"), m_time->isChecked());
    form.setBoolean(QStringLiteral("CheckBox2_Checked"), m_date->isChecked());
    form.setBoolean(QStringLiteral("CheckBox3_Checked"), m_borders->isChecked());
    form.setBoolean(QStringLiteral("CheckBox4_Checked"), m_pageNumbers->isChecked());
    form.setInteger(QStringLiteral("RadioGroup1_ItemIndex"), m_portrait->isChecked() ? 1 : 0);
}
