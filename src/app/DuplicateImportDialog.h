#pragma once

#include "Dialogs.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QLineEdit;

// "Duplicate Catalog": asked by the import when an old catalog's name is
// taken. Escape and closing the window count as Skip.
class DuplicateImportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DuplicateImportDialog(QWidget *parent = nullptr);
    Dialogs::DuplicateImportChoice ask(const QString &name);
    QString newName() const;

private:
    void addChoice(QGridLayout *grid, int row, const QString &caption, Dialogs::DuplicateImportChoice choice,
                   const QString &explanation);

    QLabel *m_from = nullptr;
    QLineEdit *m_newName = nullptr;
    Dialogs::DuplicateImportChoice m_choice = Dialogs::DuplicateImportChoice::Skip;
};
