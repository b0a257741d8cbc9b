#pragma once

#include "CategoryTree.h"

#include <QString>

class CatalogLibrary;
struct LibraryState;

// Changes to the tree that also touch the catalog files and the two pair
// lists, shared by the program and the command-line tool. Those given the
// library store their change at once, files and lists together; when that
// fails nothing changes, on disk or in state, and error says why.
namespace TreeOperations {

// Why a change to a node failed that another program removed meanwhile.
QString goneMessage(const QString &name);

// The changes below that take a node find it again by name under the
// library's lock, since another program may have moved it meanwhile.

// Renames a catalog node, moves its file and renames its information and
// comment pairs and its medium's line. The table's owner names follow, so later changes are never
// saved into a file that no node names. Returns the node's new place.
CategoryTree::CatalogRef renameCatalog(LibraryState &state, const CatalogLibrary &library,
                                       const QString &catalog, const QString &newName,
                                       QString *error = nullptr);
// Removes the node, the file, both pairs and its medium's line. True when the table belonged
// to the catalog (its names are then emptied and the flags cleared; the
// caller empties the table); false too when the change failed.
bool deleteCatalog(LibraryState &state, const CatalogLibrary &library, const QString &catalog,
                   QString *error = nullptr);
// The warning that refuses to delete a category holding catalogs, or empty
// when the category may go.
QString deleteCategoryRefusal(const LibraryState &state, int category);
// Removes a category and its comment pair in state only; the caller stores
// the change.
void deleteCategory(LibraryState &state, int category);
// Renames a category and its comment pair in state only; returns its new
// position. The caller stores the change (LibraryTransaction).
int renameCategory(LibraryState &state, int category, const QString &newName);
// Stores a comment of a category or catalog as the comment panel does: an
// empty comment removes the pair; line breaks become blanks, since each
// comment is one line of its file.
void setTreeComment(LibraryState &state, const QString &name, const QString &comment);

} // namespace TreeOperations
