#pragma once

#include "UpgradeImport.h"

#include <QString>
#include <QStringList>
#include <functional>

class CatalogLibrary;
struct LibraryState;

// Brings the catalogs of the earlier version's installation directory into
// the library, filed under the category "Imported". Old catalogs live in
// Catalogs/CdRom, Catalogs/Removable and Catalogs/Fixed: two header lines
// ("N Files", "N Directories") and then catalog lines as stored today.
//
// Each catalog is stored in a transaction of its own (file, node and
// information pair together). A stored catalog is replaced only when the
// user chose Overwrite for that very name.
class CatalogImport
{
public:
    enum class Choice { Rename, Overwrite, Skip };
    // Asked with the old catalog's name when the name to store under is
    // taken (the old name, or a name typed before); newName receives the
    // name typed.
    using AskDuplicate = std::function<Choice(const QString &name, QString &newName)>;
    using Report = std::function<void(const QString &text)>;

    struct Result {
        bool ran = false; // false when the directory did not qualify
        int imported = 0;
        QString label;      // the row label's final text
        QStringList errors; // old files that could not be read, each with why
        QString failure;    // the library could not be written: the import stopped
    };

    CatalogImport(LibraryState &state, const CatalogLibrary &library, const UpgradeImport &settings);

    // label shows progress; warn shows why a typed name cannot be used.
    Result run(const QString &directory, const AskDuplicate &ask, const Report &label, const Report &warn);

    static const QString CategoryName; // "Imported"

private:
    struct OldCatalog {
        QString group;
        int image = 0;
        QString name;
        QString path;
    };
    static QList<OldCatalog> findOldCatalogs(const QString &directory);
    // The category "Imported": an existing one of that name, else a new one.
    int importedCategory(Result &result);
    // Imports one file; false only when the library could not be written.
    bool importOne(const OldCatalog &old, Result &result);
    // The name to store under: name when free, else as the user decides;
    // empty to skip.
    QString chooseName(const QString &name);

    LibraryState &m_state;
    const CatalogLibrary &m_library;
    const UpgradeImport &m_settings;
    AskDuplicate m_ask;
    Report m_warn;
};
