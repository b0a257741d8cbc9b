#pragma once

#include "library/SaveNewCatalog.h"
#include "upgrade/CatalogImport.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

// Every modal question the program asks goes through this interface: the
// program uses QtDialogs, tests a ScriptedDialogs that answers from a script
// and records each text shown.
class Dialogs
{
public:
    // The same-name dialog's four answers when a new catalog's name is taken.
    using SameNameChoice = SaveNewCatalog::Choice;
    // The import's answer when an imported catalog's name is taken.
    using DuplicateImportChoice = CatalogImport::Choice;

    virtual ~Dialogs() = default;

    // Warning with an OK button.
    virtual void warning(const QString &text) = 0;
    // Information with an OK button.
    virtual void information(const QString &text) = 0;
    // The application's error box (I/O failures).
    virtual void error(const QString &text) = 0;
    // Confirmation with Yes and No; true for Yes.
    virtual bool confirmYesNo(const QString &text) = 0;
    // Confirmation with OK and Cancel; true for OK.
    virtual bool confirmOkCancel(const QString &text) = 0;
    // A question with Yes, No and Cancel: true for Yes, false for No,
    // nothing for Cancel.
    virtual std::optional<bool> confirmYesNoCancel(const QString &text) = 0;
    // Single-line input starting with text; nothing on Cancel.
    virtual std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                            const QString &text = QString()) = 0;
    // A folder; empty on Cancel.
    virtual QString chooseFolder(const QString &caption, const QString &start) = 0;
    // A file name to save to, the dialog opening on selectedFilter (one of
    // filter's entries, or the first when empty); empty on Cancel.
    virtual QString saveFileName(const QString &caption, const QString &start, const QString &filter,
                                 const QString &selectedFilter = QString()) = 0;
    // Changes font and returns true on OK.
    virtual bool chooseFont(QFont &font) = 0;
    // Shows the print dialog for printer; true on OK.
    virtual bool choosePrinter(QPrinter &printer) = 0;
    // The catalog information dialog: caption, its text lines and comment.
    virtual void catalogInformation(const QString &caption, const QStringList &lines,
                                    const QString &comment) = 0;
    // The same-name dialog for name; newName receives the Rename To text.
    virtual SameNameChoice sameName(const QString &name, QString &newName) = 0;
    // The import's duplicate-catalog dialog.
    virtual DuplicateImportChoice duplicateImport(const QString &name, QString &newName) = 0;
};
