#include "SameNameDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SameNameDialog::SameNameDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Duplicate Name"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("A Catalog With The Same Name Already Exists."), this));
    layout->addWidget(
        new QLabel(QStringLiteral("Please Select One Of The Four Options Below to Proceed."), this));
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    m_newName = new QLineEdit(this);
    m_newName->setObjectName(QStringLiteral("Renameedit"));
    addChoice(grid, 0, QStringLiteral("Rename To"), Dialogs::SameNameChoice::RenameTo,
              QStringLiteral("Save the newly created catalog under a different name."));
    grid->addWidget(m_newName, 0, 2);
    addChoice(grid, 1, QStringLiteral("Overwrite"), Dialogs::SameNameChoice::Overwrite,
              QStringLiteral("Overwrite the existing catalog. File comments will be lost."));
    addChoice(grid, 2, QStringLiteral("Update"), Dialogs::SameNameChoice::Update,
              QStringLiteral("Update the existing catalog. File comments will be preserved."));
    addChoice(grid, 3, QStringLiteral("Cancel"), Dialogs::SameNameChoice::Cancel,
              QStringLiteral("Exit without making any changes."));
}

void SameNameDialog::addChoice(QGridLayout *grid, int row, const QString &caption,
                               Dialogs::SameNameChoice choice, const QString &explanation)
{
    auto *button = new QPushButton(caption, this);
    connect(button, &QPushButton::clicked, this, [this, choice] {
        m_choice = choice;
        accept();
    });
    grid->addWidget(button, row, 0);
    grid->addWidget(new QLabel(explanation, this), row, 1);
}

Dialogs::SameNameChoice SameNameDialog::ask()
{
    m_newName->clear();
    m_choice = Dialogs::SameNameChoice::Cancel;
    // Closing by the frame or Escape counts as Cancel.
    if (exec() != QDialog::Accepted)
        return Dialogs::SameNameChoice::Cancel;
    return m_choice;
}

QString SameNameDialog::newName() const
{
    return m_newName->text();
}
