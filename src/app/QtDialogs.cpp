#include "QtDialogs.h"

#include "DuplicateImportDialog.h"
#include "SameNameDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QVBoxLayout>

void QtDialogs::warning(const QString &text)
{
    QMessageBox::warning(m_parent, QStringLiteral("Warning"), text);
}

void QtDialogs::information(const QString &text)
{
    QMessageBox::information(m_parent, QStringLiteral("Information"), text);
}

void QtDialogs::error(const QString &text)
{
    QMessageBox::critical(m_parent, QStringLiteral("Error"), text);
}

bool QtDialogs::confirmYesNo(const QString &text)
{
    return QMessageBox::question(m_parent, QStringLiteral("Confirm"), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::confirmOkCancel(const QString &text)
{
    return QMessageBox::question(m_parent, QStringLiteral("Confirm"), text,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

std::optional<bool> QtDialogs::confirmYesNoCancel(const QString &text)
{
    const auto answer =
        QMessageBox::question(m_parent, QStringLiteral("Confirm"), text,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return std::nullopt;
    return answer == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::inputBox(const QString &caption, const QString &prompt, const QString &text)
{
    bool ok = false;
    const QString value = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString QtDialogs::chooseFolder(const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, start);
}

QString QtDialogs::saveFileName(const QString &caption, const QString &start, const QString &filter,
                                const QString &selectedFilter)
{
    QString selected = selectedFilter;
    return QFileDialog::getSaveFileName(m_parent, caption, start, filter, &selected);
}

bool QtDialogs::chooseFont(QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, m_parent);
    if (ok)
        font = chosen;
    return ok;
}

bool QtDialogs::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::catalogInformation(const QString &caption, const QStringList &lines, const QString &comment)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("CatalogInformation"));
    dialog.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&dialog);
    for (const QString &line : lines)
        layout->addWidget(new QLabel(line, &dialog));
    layout->addWidget(new QLabel(QStringLiteral("Comment:"), &dialog));
    auto *box = new QPlainTextEdit(comment, &dialog);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #c0c0c0; color: yellow; }"));
    layout->addWidget(box);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

Dialogs::SameNameChoice QtDialogs::sameName(const QString &, QString &newName)
{
    SameNameDialog dialog(m_parent);
    const SameNameChoice choice = dialog.ask();
    newName = dialog.newName();
    return choice;
}

Dialogs::DuplicateImportChoice QtDialogs::duplicateImport(const QString &name, QString &newName)
{
    DuplicateImportDialog dialog(m_parent);
    const DuplicateImportChoice choice = dialog.ask(name);
    newName = dialog.newName();
    return choice;
}
