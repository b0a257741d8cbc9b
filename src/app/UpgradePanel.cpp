#include "UpgradePanel.h"

#include "PanelWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct RowText {
    const char *button;
    const char *caption;
};
const RowText kRows[UpgradePanel::RowCount] = {{"Colimport", "Pre-Set Column Widths"},
                                               {"Commimport", "Pre-Defined Comments"},
                                               {"Maskimport", "Pre-Set File Mask(s)"},
                                               {"Catimport", "Catalogs"}};

} // namespace

UpgradePanel::UpgradePanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    const QString prompt =
        QStringLiteral("Please Enter Or Browse For Directory Where Version Prior To 2.0 Is Installed");
    grid->addWidget(new QLabel(prompt, this), 0, 0, 1, 2);
    m_directory = new QLineEdit(this);
    m_directory->setObjectName(QStringLiteral("Olddir"));
    m_directory->setAccessibleName(prompt);
    m_directory->setMinimumWidth(280);
    grid->addWidget(m_directory, 1, 0);
    auto *browse = PanelWidgets::button(this, QStringLiteral("Olddirbrowse"), QStringLiteral("Browse..."));
    browse->setAccessibleName(QStringLiteral("Browse"));
    grid->addWidget(browse, 1, 1);
    connect(browse, &QPushButton::clicked, this, &UpgradePanel::browseClicked);
    for (int row = 0; row < RowCount; ++row) {
        m_label[row] = new QLabel(this);
        m_label[row]->setObjectName(QLatin1String(kRows[row].button) + QStringLiteral("label"));
        m_import[row] =
            PanelWidgets::button(this, QLatin1String(kRows[row].button), QStringLiteral("Import"));
        m_import[row]->setAccessibleName(QStringLiteral("Import ") + QLatin1String(kRows[row].caption));
        m_import[row]->setEnabled(false);
        connect(m_import[row], &QPushButton::clicked, this, [this, row] { emit importClicked(Row(row)); });
        grid->addWidget(m_label[row], row + 2, 0);
        grid->addWidget(m_import[row], row + 2, 1);
    }
    grid->addWidget(
        new QLabel(QStringLiteral("Imported catalogs will be placed under Imported category."), this),
        RowCount + 2, 0, 1, 2);
    resetLabels();
    // Any change of the directory lets every import run.
    connect(m_directory, &QLineEdit::textChanged, this, [this] {
        for (QPushButton *button : m_import)
            button->setEnabled(true);
    });
}

QString UpgradePanel::directory() const
{
    return m_directory->text();
}

void UpgradePanel::setDirectory(const QString &path)
{
    m_directory->setText(path);
}

void UpgradePanel::setLabel(Row row, const QString &text)
{
    m_label[row]->setText(text);
    // Painted at once: the import runs to its end without yielding.
    m_label[row]->repaint();
}

void UpgradePanel::resetLabels()
{
    for (int row = 0; row < RowCount; ++row)
        m_label[row]->setText(QLatin1String(kRows[row].caption));
}
