#include "UpdatePanel.h"

#include "MaskListEditor.h"
#include "PanelWidgets.h"
#include "ScanOptionBoxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

UpdatePanel::UpdatePanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);

    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("Label25"));
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Last Updated:"), this), 1, 0);
    m_lastUpdated = new QLabel(this);
    m_lastUpdated->setObjectName(QStringLiteral("Label27"));
    grid->addWidget(m_lastUpdated, 1, 1, 1, 2);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Updiredit"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("Path:"), m_path), 2, 0);
    m_path->setReadOnly(true);
    m_path->setMinimumWidth(240);
    grid->addWidget(m_path, 2, 1);
    auto *browse = PanelWidgets::button(this, QStringLiteral("UpdirBrowse"), QStringLiteral("Browse..."));
    grid->addWidget(browse, 2, 2);
    connect(browse, &QPushButton::clicked, this, &UpdatePanel::browseClicked);

    auto *options = new QGroupBox(QStringLiteral("Options"), this);
    auto *optionLayout = new QVBoxLayout(options);
    optionLayout->setSpacing(1);
    m_options.create(this, {"Uphidfiles", "Upreadonly", "Upsystem", "Upsub", "Uphidir", "Upzipfiles"});
    m_confirmZip =
        PanelWidgets::checkBox(this, QStringLiteral("Confirm2"), QStringLiteral("Confirm Each Zip Extract"));
    const QList<QCheckBox *> boxes = m_options.boxes() << m_confirmZip;
    for (QCheckBox *box : boxes)
        optionLayout->addWidget(box);
    grid->addWidget(options, 3, 0, 2, 1);

    auto *maskBox = new QVBoxLayout;
    m_mask = new QLineEdit(QStringLiteral("*.*"), this);
    m_mask->setObjectName(QStringLiteral("Upmask"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("File Mask(s):"), m_mask), 3, 1,
                    Qt::AlignBottom);
    m_mask->setToolTip(
        QStringLiteral("To add a mask to the list:\nEnter a file mask, then press the ENTER key."));
    auto *maskList = new QListWidget(this);
    maskList->setObjectName(QStringLiteral("Upmasklist"));
    maskList->setAccessibleName(QStringLiteral("File Mask(s) List"));
    maskList->setToolTip(QStringLiteral("To remove a mask:\nSelect the mask, then press the DELETE key."));
    maskList->setMaximumHeight(110);
    maskBox->addWidget(m_mask);
    maskBox->addWidget(maskList);
    grid->addLayout(maskBox, 4, 1, 1, 2);
    m_masks = new MaskListEditor(m_mask, maskList, this);
    connect(m_masks, &MaskListEditor::f5Pressed, this, &UpdatePanel::clearMasksRequested);
    connect(m_masks, &MaskListEditor::f6Pressed, this, &UpdatePanel::restoreMasksRequested);

    auto *buttons = new QHBoxLayout;
    m_start = PanelWidgets::button(this, QStringLiteral("Updatestart"), QStringLiteral("Update"));
    m_stop = PanelWidgets::button(this, QStringLiteral("Updatestop"), QStringLiteral("Stop"));
    m_stop->setEnabled(false);
    m_close = PanelWidgets::button(this, QStringLiteral("Updateclose"), QStringLiteral("Close"));
    buttons->addStretch(1);
    for (QPushButton *b : {m_start, m_stop, m_close})
        buttons->addWidget(b);
    grid->addLayout(buttons, 5, 0, 1, 3);
    connect(m_start, &QPushButton::clicked, this, &UpdatePanel::startClicked);
    connect(m_stop, &QPushButton::clicked, this, &UpdatePanel::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &UpdatePanel::closeClicked);
}

ScanOptions UpdatePanel::options() const
{
    return m_options.options();
}

void UpdatePanel::setOptions(const ScanOptions &o)
{
    m_options.setOptions(o);
}

bool UpdatePanel::confirmZip() const
{
    return m_confirmZip->isChecked();
}

QStringList UpdatePanel::masks() const
{
    return m_masks->masks();
}

void UpdatePanel::setMasks(const QStringList &masks)
{
    m_masks->setMasks(masks);
}

void UpdatePanel::clearMasks()
{
    m_masks->clear();
}

void UpdatePanel::showCatalog(const QString &name, const QString &lastUpdated)
{
    m_name->setText(name);
    m_lastUpdated->setText(lastUpdated);
    m_mask->setText(QStringLiteral("*.*"));
}

QString UpdatePanel::path() const
{
    return m_path->text();
}

void UpdatePanel::setPath(const QString &path)
{
    m_path->setText(path);
}

void UpdatePanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running);
}

void UpdatePanel::disableStop()
{
    m_stop->setEnabled(false);
}
