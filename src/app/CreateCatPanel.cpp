#include "CreateCatPanel.h"

#include "MaskListEditor.h"
#include "PanelWidgets.h"
#include "ScanOptionBoxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString lines(std::initializer_list<const char *> pieces)
{
    QStringList text;
    for (const char *piece : pieces)
        text << QLatin1String(piece);
    return text.join(u'\n');
}

} // namespace

CreateCatPanel::CreateCatPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);

    m_catDir = new QLineEdit(this);
    m_catDir->setObjectName(QStringLiteral("CatDir"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("Drive Or Directory:"), m_catDir), 0, 0);
    m_catDir->setReadOnly(true);
    m_catDir->setMinimumWidth(260);
    grid->addWidget(m_catDir, 0, 1);
    auto *browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("CatDirBrowse"));
    grid->addWidget(browse, 0, 2);
    connect(browse, &QPushButton::clicked, this, &CreateCatPanel::browseClicked);

    auto *options = new QGroupBox(QStringLiteral("Options"), this);
    auto *optionLayout = new QVBoxLayout(options);
    optionLayout->setSpacing(1);
    m_options.create(this, {"Hiddenfiles", "Readonly", "System", "Subdir", "Hiddendirs", "Zipfiles"});
    m_confirmZip = PanelWidgets::checkBox(this, QStringLiteral("Confirmzip"),
                                          QStringLiteral("Confirm Each ZIP Extract"));
    const QList<QCheckBox *> boxes = m_options.boxes() << m_confirmZip;
    for (QCheckBox *box : boxes) {
        optionLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CreateCatPanel::storedChoicesChanged);
    }
    grid->addWidget(options, 1, 0, 2, 1);

    auto *maskBox = new QVBoxLayout;
    auto *maskName = new QLineEdit(QStringLiteral("*.*"), this);
    maskName->setObjectName(QStringLiteral("Maskname"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("File Mask(s):"), maskName), 1, 1,
                    Qt::AlignBottom);
    maskName->setToolTip(lines({"To add a mask to the list:", "Enter a file mask, then press the ENTER key.",
                                "Press the F5 key to empty the File Mask(s) list.",
                                "Press the F6 key to undo the action taken by the F5 key."}));
    auto *maskList = new QListWidget(this);
    maskList->setObjectName(QStringLiteral("Masklistbox"));
    maskList->setAccessibleName(QStringLiteral("File Mask(s) List"));
    maskList->setToolTip(lines({"To remove a mask:", "Select the mask, then press the DEL key."}));
    maskList->setMaximumHeight(110);
    maskBox->addWidget(maskName);
    maskBox->addWidget(maskList);
    grid->addLayout(maskBox, 2, 1, 1, 2);
    m_masks = new MaskListEditor(maskName, maskList, this);
    connect(m_masks, &MaskListEditor::f5Pressed, this, &CreateCatPanel::clearMasksRequested);
    connect(m_masks, &MaskListEditor::f6Pressed, this, &CreateCatPanel::restoreMasksRequested);
    connect(m_masks, &MaskListEditor::changed, this, &CreateCatPanel::storedChoicesChanged);

    m_catalogName = new QLineEdit(this);
    m_catalogName->setObjectName(QStringLiteral("Catalogname"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("Catalog Name:"), m_catalogName), 3, 0);
    m_catalogName->setToolTip(QStringLiteral("Press the F9 key to refresh the volume information."));
    m_catalogName->installEventFilter(this);
    grid->addWidget(m_catalogName, 3, 1, 1, 2);

    auto *buttons = new QHBoxLayout;
    m_start = PanelWidgets::button(this, QStringLiteral("Startscan"), QStringLiteral("Index"));
    m_stop = PanelWidgets::button(this, QStringLiteral("Stopscan"), QStringLiteral("Stop"));
    auto *eject = PanelWidgets::button(this, QStringLiteral("Eject"), QStringLiteral("Eject CD"));
    m_save = PanelWidgets::button(this, QStringLiteral("SaveCatbtn"), QStringLiteral("Save"));
    m_diskLabel =
        PanelWidgets::button(this, QStringLiteral("Disklabel"), QStringLiteral("Set/Edit Disk Label"));
    for (QPushButton *b : {m_start, m_stop, eject, m_save, m_diskLabel})
        buttons->addWidget(b);
    grid->addLayout(buttons, 4, 0, 1, 3);
    connect(m_start, &QPushButton::clicked, this, &CreateCatPanel::indexClicked);
    connect(m_stop, &QPushButton::clicked, this, &CreateCatPanel::stopClicked);
    connect(eject, &QPushButton::clicked, this, &CreateCatPanel::ejectClicked);
    connect(m_save, &QPushButton::clicked, this, &CreateCatPanel::saveClicked);
    connect(m_diskLabel, &QPushButton::clicked, this, &CreateCatPanel::diskLabelClicked);
    setRunning(false);
    setSaveEnabled(false);
    setDiskLabelEnabled(false);
}

ScanOptions CreateCatPanel::options() const
{
    return m_options.options();
}

void CreateCatPanel::setOptions(const ScanOptions &o)
{
    m_options.setOptions(o);
}

bool CreateCatPanel::confirmZip() const
{
    return m_confirmZip->isChecked();
}

void CreateCatPanel::setConfirmZip(bool on)
{
    m_confirmZip->setChecked(on);
}

QStringList CreateCatPanel::masks() const
{
    return m_masks->masks();
}

void CreateCatPanel::setMasks(const QStringList &masks)
{
    m_masks->setMasks(masks);
}

void CreateCatPanel::clearMasks()
{
    m_masks->clear();
}

QString CreateCatPanel::directory() const
{
    return m_catDir->text();
}

void CreateCatPanel::setDirectory(const QString &path)
{
    m_catDir->setText(path);
    m_catDir->setToolTip(path);
}

QString CreateCatPanel::catalogName() const
{
    return m_catalogName->text();
}

void CreateCatPanel::setCatalogName(const QString &name)
{
    m_catalogName->setText(name);
}

void CreateCatPanel::focusCatalogName()
{
    m_catalogName->setFocus();
}

void CreateCatPanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
}

void CreateCatPanel::setSaveEnabled(bool enabled)
{
    m_save->setEnabled(enabled);
}

void CreateCatPanel::setDiskLabelEnabled(bool enabled)
{
    m_diskLabel->setEnabled(enabled);
}

bool CreateCatPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_catalogName && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F9) {
        emit refreshVolumeRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
