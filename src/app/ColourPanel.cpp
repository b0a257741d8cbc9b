#include "ColourPanel.h"

#include "settings/NamedColours.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace {

QIcon swatch(int value)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(QColor::fromRgb(QRgb(NamedColours::rgb(value))));
    QPainter(&pixmap).drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

QComboBox *colourPicker(QWidget *parent, const QString &objectName, const QString &caption, int initial)
{
    auto *picker = new QComboBox(parent);
    picker->setObjectName(objectName);
    picker->setAccessibleName(caption);
    for (const NamedColours::Colour &colour : NamedColours::all())
        picker->addItem(swatch(colour.value), QLatin1String(colour.name), colour.value);
    picker->setCurrentIndex(NamedColours::indexOf(initial));
    return picker;
}

void restore(QComboBox *picker, int stored)
{
    if (const auto change = NamedColours::restoredChange(picker->currentData().toInt(), stored))
        picker->setCurrentIndex(NamedColours::indexOf(*change));
}

} // namespace

ColourPanel::ColourPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    m_hint = colourPicker(this, QStringLiteral("Hintcolorcombo"), QStringLiteral("Tooltip Color:"),
                          NamedColours::Yellow);
    m_text = colourPicker(this, QStringLiteral("Textcolorcombo"), QStringLiteral("Text Color:"),
                          NamedColours::Black);
    int row = 0;
    for (QComboBox *picker : {m_hint, m_text}) {
        auto *label = new QLabel(picker->accessibleName(), this);
        label->setBuddy(picker);
        grid->addWidget(label, row, 0);
        grid->addWidget(picker, row++, 1);
    }
    connect(m_hint, &QComboBox::currentIndexChanged, this, [this] { emit hintColourChanged(hintColour()); });
    connect(m_text, &QComboBox::currentIndexChanged, this, [this] { emit textColourChanged(textColour()); });
}

int ColourPanel::hintColour() const
{
    return m_hint->currentData().toInt();
}

int ColourPanel::textColour() const
{
    return m_text->currentData().toInt();
}

void ColourPanel::restoreHintColour(int stored)
{
    restore(m_hint, stored);
}

void ColourPanel::restoreTextColour(int stored)
{
    restore(m_text, stored);
}
