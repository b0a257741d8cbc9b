#pragma once

#include <QString>

class CatalogLibrary;

// A file the user names for output (an export, a printout to a file) must
// never be one of the library's own: formatted text over a catalog or the
// tree would destroy it. The check compares real paths, so links, linked
// folders and ".." are seen through, and the target need not exist yet.
class OutputTarget
{
public:
    // True for the library's files: anything in its Catalogs folder, and in
    // its root Master.TXT, Comments.TXT and every name beginning with
    // "Kestrovane." (settings, records, locks), with their temporary files;
    // also any path that leads to the same file as one of them.
    static bool isLibraryFile(const CatalogLibrary &library, const QString &target);
    // "<target> is a file of the catalog library and cannot be overwritten",
    // or empty when target may be written.
    static QString refusal(const CatalogLibrary &library, const QString &target);

    // Where a write to path lands: links followed as a rewrite follows
    // them, then the real path of the folder plus the name.
    static QString landingPath(const QString &path);
};
