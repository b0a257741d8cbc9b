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
    m_browse = new QPushButton(QStringLiteral("Browse..."), this);
    m_browse->setObjectName(QStringLiteral("CatDirBrowse"));
    grid->addWidget(m_browse, 0, 2);

    auto *options = new QGroupBox(QStringLiteral("Options"), this);
    auto *optionLayout = new QVBoxLayout(options);
    optionLayout->setSpacing(1);
    m_options.create(this, {"Hiddenfiles", "Readonly", "System", "Subdir", "Hiddendirs", "Zipfiles"});
    m_confirmZip = PanelWidgets::checkBox(this, QStringLiteral("Confirmzip"),
                                          QStringLiteral("Confirm Each ZIP Extract"));
    const QList<QCheckBox *> boxes = m_options.boxes() << m_confirmZip;
    for (QCheckBox *box : boxes) {
        optionLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CreateCatPanel::optionsChanged);
    }
    grid->addWidget(options, 1, 0, 2, 1);

    auto *maskBox = new QVBoxLayout;
    m_maskName = new QLineEdit(QStringLiteral("*.*"), this);
    m_maskName->setObjectName(QStringLiteral("Maskname"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("File Mask(s):"), m_maskName), 1, 1,
                    Qt::AlignBottom);
    m_maskName->setToolTip(
        lines({"To add a mask to the list:", "Enter a file mask, then press the ENTER key.",
               "Press the F5 key to empty the File Mask(s) list.",
               "Press the F6 key to undo the action taken by the F5 key."}));
    m_maskList = new QListWidget(this);
    m_maskList->setObjectName(QStringLiteral("Masklistbox"));
    m_maskList->setAccessibleName(QStringLiteral("File Mask(s) List"));
    m_maskList->setToolTip(lines({"To remove a mask:", "Select the mask, then press the DEL key."}));
    m_maskList->setMaximumHeight(110);
    maskBox->addWidget(m_maskName);
    maskBox->addWidget(m_maskList);
    grid->addLayout(maskBox, 2, 1, 1, 2);
    m_masks = new MaskListEditor(m_maskName, m_maskList, this);

    m_catalogName = new QLineEdit(this);
    m_catalogName->setObjectName(QStringLiteral("Catalogname"));
    grid->addWidget(PanelWidgets::label(this, QStringLiteral("Catalog Name:"), m_catalogName), 3, 0);
    m_catalogName->setToolTip(QStringLiteral("Press the F9 key to refresh the volume information."));
    m_catalogName->installEventFilter(this);
    grid->addWidget(m_catalogName, 3, 1, 1, 2);

    auto *buttons = new QHBoxLayout;
    m_start = PanelWidgets::button(this, QStringLiteral("Startscan"), QStringLiteral("Index"));
    m_stop = PanelWidgets::button(this, QStringLiteral("Stopscan"), QStringLiteral("Stop"));
    m_eject = PanelWidgets::button(this, QStringLiteral("Eject"), QStringLiteral("Eject CD"));
    m_save = PanelWidgets::button(this, QStringLiteral("SaveCatbtn"), QStringLiteral("Save"));
    m_diskLabel =
        PanelWidgets::button(this, QStringLiteral("Disklabel"), QStringLiteral("Set/Edit Disk Label"));
    for (QPushButton *b : {m_start, m_stop, m_eject, m_save, m_diskLabel})
        buttons->addWidget(b);
    grid->addLayout(buttons, 4, 0, 1, 3);
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

bool CreateCatPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_catalogName && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F9) {
        emit refreshVolumeRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
