#include "CatalogName.h"

#include "CatalogLibrary.h"
#include "ControlPictures.h"
#include "LibraryState.h"
#include "TextCompare.h"

#include <QFile>
#include <algorithm>
#include <climits>

namespace {

#ifdef NAME_MAX
constexpr int kMaxFileNameBytes = NAME_MAX;
#else
constexpr int kMaxFileNameBytes = 255;
#endif

const QLatin1String kSuffix(".TXT");

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

} // namespace

const QString CatalogName::TakenText = QStringLiteral("A catalog with the same name already exists!");

QString CatalogName::problem(const QString &name)
{
    if (name.isEmpty())
        return QString();
    if (name.contains(u'/') || name.contains(QChar(0)) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return QStringLiteral("A catalog name cannot contain \"/\" or be \".\" or \"..\".");
    if (const QString control = controlProblem(name, QStringLiteral("catalog")); !control.isEmpty())
        return control;
    if (QFile::encodeName(name + kSuffix).size() > kMaxFileNameBytes)
        return QStringLiteral("A catalog name cannot be longer than %1 bytes.")
            .arg(kMaxFileNameBytes - kSuffix.size());
    return QString();
}

QString CatalogName::controlProblem(const QString &name, const QString &kind)
{
    // Each name is one line of the tree, information and comment files.
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return isLineBreak(c.unicode()); }))
        return QStringLiteral("A %1 name cannot contain a line break.").arg(kind);
    if (std::any_of(name.cbegin(), name.cend(),
                    [](QChar c) { return ControlPictures::isControl(c.unicode()); }))
        return QStringLiteral("A %1 name cannot contain a control character.").arg(kind);
    return QString();
}

bool CatalogName::fileExists(const CatalogLibrary &library, const QString &name)
{
    if (library.catalogFileExists(name))
        return true;
    // The library's own lookup folds case as Qt does; the program's lists
    // fold accented letters their own way, and either match is a clash.
    const QStringList files = library.catalogFileNames();
    for (const QString &file : files) {
        if (TextCompare::equalNoCase(file, name))
            return true;
    }
    return false;
}

bool CatalogName::isTaken(const LibraryState &state, const CatalogLibrary &library, const QString &name)
{
    return state.tree.findCatalog(name).isValid() || state.catalogInfo.contains(name) ||
           fileExists(library, name);
}

QString CatalogName::renameProblem(const LibraryState &state, const CatalogLibrary &library,
                                   const QString &newName)
{
    if (newName.isEmpty())
        return QString();
    if (const QString invalid = problem(newName); !invalid.isEmpty())
        return invalid;
    return isTaken(state, library, newName) ? TakenText : QString();
}
