#pragma once

#include "Dialogs.h"

#include <QDialog>

class QLineEdit;

// "Duplicate Name": asked when a new catalog's name is taken.
class SameNameDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SameNameDialog(QWidget *parent = nullptr);
    Dialogs::SameNameChoice ask();
    QString newName() const;

private:
    void addChoice(class QGridLayout *grid, int row, const QString &caption, Dialogs::SameNameChoice choice,
                   const QString &explanation);

    QLineEdit *m_newName = nullptr;
    Dialogs::SameNameChoice m_choice = Dialogs::SameNameChoice::Cancel;
};
