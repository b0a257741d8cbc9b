#pragma once

#include "Dialogs.h"

// The real dialogs: Qt message boxes, input, file, font and print dialogs,
// and the program's own same-name and catalog information dialogs.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void warning(const QString &text) override;
    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirmYesNo(const QString &text) override;
    bool confirmOkCancel(const QString &text) override;
    std::optional<bool> confirmYesNoCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &text) override;
    QString chooseFolder(const QString &caption, const QString &start) override;
    QString saveFileName(const QString &caption, const QString &start, const QString &filter,
                         const QString &selectedFilter) override;
    bool chooseFont(QFont &font) override;
    bool choosePrinter(QPrinter &printer) override;
    void catalogInformation(const QString &caption, const QStringList &lines,
                            const QString &comment) override;
    SameNameChoice sameName(const QString &name, QString &newName) override;
    DuplicateImportChoice duplicateImport(const QString &name, QString &newName) override;

private:
    QWidget *m_parent = nullptr;
};
