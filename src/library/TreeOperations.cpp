#include "TreeOperations.h"

#include "CatalogLibrary.h"
#include "LibraryState.h"
#include "LibraryTransaction.h"
#include "TextCompare.h"

#include <QFile>

namespace TreeOperations {

QString goneMessage(const QString &name)
{
    return QStringLiteral("%1 no longer exists: another program changed the catalog library.").arg(name);
}

CategoryTree::CatalogRef renameCatalog(LibraryState &state, const CatalogLibrary &library,
                                       const QString &chosen, const QString &newName, QString *error)
{
    CategoryTree::CatalogRef renamed;
    const auto change = [&](LibraryTransaction &transaction) {
        const CategoryTree::CatalogRef ref = state.tree.findCatalog(chosen);
        if (!ref.isValid())
            return transaction.abort(goneMessage(chosen));
        const QString oldName = state.tree.catalog(ref).name;
        const QString oldPath = library.catalogFilePath(oldName);
        // The new file is named as typed; the rename never replaces a file.
        if (QFile::exists(oldPath))
            transaction.renameFile(oldPath, library.catalogsDir() + u'/' + newName + QLatin1String(".TXT"));
        state.catalogInfo.rename(oldName, newName);
        state.treeComments.rename(oldName, newName);
        state.volumes.rename(oldName, newName);
        if (TextCompare::equalNoCase(state.openCatalogName, oldName))
            state.openCatalogName = newName;
        if (TextCompare::equalNoCase(state.savedScanName, oldName))
            state.savedScanName = newName;
        renamed = state.tree.renameCatalog(ref, newName);
    };
    if (!LibraryTransaction::apply(library, state, change, error))
        return {};
    return renamed;
}

bool deleteCatalog(LibraryState &state, const CatalogLibrary &library, const QString &chosen, QString *error)
{
    bool tableOwned = false;
    const auto change = [&](LibraryTransaction &transaction) {
        const CategoryTree::CatalogRef ref = state.tree.findCatalog(chosen);
        if (!ref.isValid())
            return transaction.abort(goneMessage(chosen));
        const QString name = state.tree.catalog(ref).name;
        state.tree.removeCatalog(ref);
        if (library.catalogFileExists(name))
            transaction.removeFile(library.catalogFilePath(name));
        state.catalogInfo.remove(name);
        state.treeComments.remove(name);
        state.volumes.remove(name);
        if (name != state.savedScanName && name != state.openCatalogName)
            return;
        tableOwned = true;
        state.pendingCommentEdits = false;
        state.pendingRowDeletions = false;
        state.savedScanName.clear();
        state.openCatalogName.clear();
    };
    return LibraryTransaction::apply(library, state, change, error) && tableOwned;
}

QString deleteCategoryRefusal(const LibraryState &state, int category)
{
    const size_t count = state.tree.category(category).catalogs.size();
    if (count == 0)
        return {};
    return QStringLiteral("Can not delete category!\r\nThis category contains %1 catalogs.").arg(count);
}

void deleteCategory(LibraryState &state, int category)
{
    const QString name = state.tree.category(category).name;
    state.tree.removeCategory(category);
    state.treeComments.remove(name);
}

int renameCategory(LibraryState &state, int category, const QString &newName)
{
    state.treeComments.rename(state.tree.category(category).name, newName);
    return state.tree.renameCategory(category, newName);
}

void setTreeComment(LibraryState &state, const QString &name, const QString &comment)
{
    QString line = comment;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    if (line.isEmpty())
        state.treeComments.remove(name);
    else
        state.treeComments.setValue(name, line);
}

} // namespace TreeOperations
