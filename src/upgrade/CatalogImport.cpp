#include "CatalogImport.h"

#include "library/CatalogLibrary.h"
#include "library/CatalogName.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/TextFile.h"

#include <QDir>
#include <QFileInfo>

const QString CatalogImport::CategoryName = QStringLiteral("Imported");

namespace {

struct Group {
    const char *name;
    int image;
};
const Group kGroups[] = {{"CdRom", CategoryTree::CdRomImage},
                         {"Removable", CategoryTree::RemovableImage},
                         {"Fixed", CategoryTree::FixedImage}};

// A folder's child by name, letter case ignored: the earlier version ran on
// a file system that ignores it.
QString childDir(const QString &dir, const QString &name)
{
    const QDir d(dir);
    if (d.exists(name))
        return d.filePath(name);
    const QStringList entries = d.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(entry);
    }
    return QString();
}

// The header's count text: the line without its first label.
QString headerCount(const QStringList &lines, int index, QLatin1String label)
{
    QString text = lines.value(index);
    const qsizetype at = text.indexOf(label);
    if (at >= 0)
        text.remove(at, label.size());
    return text;
}

} // namespace

CatalogImport::CatalogImport(LibraryState &state, const CatalogLibrary &library,
                             const UpgradeImport &settings)
    : m_state(state), m_library(library), m_settings(settings)
{}

CatalogImport::Result CatalogImport::run(const QString &directory, const AskDuplicate &ask,
                                         const Report &label, const Report &warn)
{
    Result result;
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return result;
    result.ran = true;
    m_ask = ask;
    m_warn = warn;
    importedCategory(result);
    if (!result.failure.isEmpty())
        return result;
    label(UpgradeImport::Attempting);
    const QList<OldCatalog> catalogs = findOldCatalogs(directory);
    for (const OldCatalog &old : catalogs) {
        label(QStringLiteral("Importing ") + old.name + QStringLiteral(" Catalog"));
        if (!importOne(old, result))
            break;
    }
    result.label = QStringLiteral("Imported %1 Catalogs").arg(result.imported);
    label(result.label);
    return result;
}

QList<CatalogImport::OldCatalog> CatalogImport::findOldCatalogs(const QString &directory)
{
    QList<OldCatalog> found;
    const QString catalogs = childDir(directory, QStringLiteral("Catalogs"));
    for (const Group &group : kGroups) {
        const QString dir = catalogs.isEmpty() ? QString() : childDir(catalogs, QLatin1String(group.name));
        if (dir.isEmpty())
            continue;
        const QFileInfoList files = QDir(dir).entryInfoList(
            {QStringLiteral("*.TXT")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo &file : files) {
            const QString name = file.fileName().section(u'.', 0, 0);
            if (!name.isEmpty())
                found.append({QLatin1String(group.name), group.image, name, file.filePath()});
        }
    }
    return found;
}

int CatalogImport::importedCategory(Result &result)
{
    const int existing = m_state.tree.findCategory(CategoryName);
    if (existing >= 0)
        return existing;
    LibraryTransaction transaction(m_library, m_state);
    if (m_state.tree.findCategory(CategoryName) < 0)
        m_state.tree.addCategory(CategoryName);
    if (QString error; !transaction.commit(&error))
        result.failure = error;
    return m_state.tree.findCategory(CategoryName);
}

QString CatalogImport::chooseName(const QString &name)
{
    QString candidate = name;
    while (CatalogName::isTaken(m_state, m_library, candidate)) {
        // The dialog always names the old catalog it is about, and
        // Overwrite always replaces the catalog of that name.
        QString typed;
        const Choice choice = m_ask(name, typed);
        if (choice == Choice::Overwrite)
            return name;
        if (choice == Choice::Skip || typed.isEmpty())
            return QString();
        // A typed name goes through the same checks: a taken one brings the
        // dialog again instead of replacing that catalog.
        if (const QString problem = CatalogName::problem(typed); !problem.isEmpty()) {
            m_warn(problem);
            continue;
        }
        candidate = typed;
    }
    return candidate;
}

bool CatalogImport::importOne(const OldCatalog &old, Result &result)
{
    if (!QFileInfo::exists(old.path))
        return true;
    QStringList lines;
    if (QString error; !TextFile::readLines(old.path, lines, &error)) {
        result.errors << error;
        return true;
    }
    if (const QString problem = CatalogName::problem(old.name); !problem.isEmpty()) {
        result.errors << old.path + QStringLiteral(": ") + problem;
        return true;
    }
    const QString files = headerCount(lines, 0, QLatin1String(" Files"));
    const QString directories = headerCount(lines, 1, QLatin1String(" Directories"));
    lines = lines.mid(2);

    const QString name = chooseName(old.name);
    if (name.isEmpty())
        return true;
    LibraryTransaction transaction(m_library, m_state);
    transaction.writeFile(m_library.catalogFilePath(name), lines);
    // An overwritten catalog keeps its node where it is; its information
    // describes the imported catalog from now on.
    if (!m_state.tree.findCatalog(name).isValid()) {
        // Another program may have changed the tree since the category was made.
        if (m_state.tree.findCategory(CategoryName) < 0)
            m_state.tree.addCategory(CategoryName);
        m_state.tree.addCatalog(m_state.tree.findCategory(CategoryName), name, old.image);
    }
    m_state.catalogInfo.setValue(name, m_settings.informationLine(old.group, old.name, files, directories));
    // The earlier version never knew the medium; an overwritten catalog's
    // would name another disk.
    m_state.volumes.remove(name);
    if (QString error; !transaction.commit(&error)) {
        result.failure = error;
        return false;
    }
    ++result.imported;
    return true;
}
