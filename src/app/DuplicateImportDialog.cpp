#include "DuplicateImportDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// A plain dialog: a close button but no minimise or maximise.
DuplicateImportDialog::DuplicateImportDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DuplicateCatalog"));
    setWindowTitle(QStringLiteral("Duplicate Catalog"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    // Sized to its contents, with no empty strip below the buttons.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new QLabel(QStringLiteral("A catalog with the same name already exists!"), this));
    auto *names = new QGridLayout;
    layout->addLayout(names);
    auto *from = new QLabel(QStringLiteral("From:"), this);
    names->addWidget(from, 0, 0);
    m_from = new QLabel(this);
    m_from->setObjectName(QStringLiteral("Fromname"));
    from->setBuddy(m_from);
    names->addWidget(m_from, 0, 1);
    auto *to = new QLabel(QStringLiteral("To:"), this);
    names->addWidget(to, 1, 0);
    m_newName = new QLineEdit(this);
    m_newName->setObjectName(QStringLiteral("Toname"));
    m_newName->setAccessibleName(QStringLiteral("To:"));
    to->setBuddy(m_newName);
    names->addWidget(m_newName, 1, 1);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    addChoice(grid, 0, QStringLiteral("Rename"), Dialogs::DuplicateImportChoice::Rename,
              QStringLiteral("Rename and import catalog"));
    addChoice(grid, 1, QStringLiteral("Skip"), Dialogs::DuplicateImportChoice::Skip,
              QStringLiteral("Do not import this catalog"));
    addChoice(grid, 2, QStringLiteral("Overwrite"), Dialogs::DuplicateImportChoice::Overwrite,
              QStringLiteral("Overwrite the existing catalog"));
}

void DuplicateImportDialog::addChoice(QGridLayout *grid, int row, const QString &caption,
                                      Dialogs::DuplicateImportChoice choice, const QString &explanation)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(caption);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, choice] {
        m_choice = choice;
        accept();
    });
    grid->addWidget(button, row, 0);
    grid->addWidget(new QLabel(explanation, this), row, 1);
}

Dialogs::DuplicateImportChoice DuplicateImportDialog::ask(const QString &name)
{
    m_from->setText(name);
    // A screen reader reads the catalog's name, not the caption beside it.
    m_from->setAccessibleName(name);
    m_newName->clear();
    m_newName->setFocus();
    m_choice = Dialogs::DuplicateImportChoice::Skip;
    if (exec() != QDialog::Accepted)
        return Dialogs::DuplicateImportChoice::Skip;
    return m_choice;
}

QString DuplicateImportDialog::newName() const
{
    return m_newName->text();
}
