#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class PairList;
class VolumeStore;

// The report of all catalogs: one row per catalog of the information list,
// in order of name, with its drive type, space, directory, last update and
// comment. Built from the lists in memory; no catalog file is read.
class CatalogReport
{
public:
    enum Column { Name, Type, TotalSpace, FreeSpace, Directory, LastUpdated, Comment, ColumnCount };

    static QStringList headers();
    // "<n> Catalogs"
    static QString statusText(qsizetype rows);

    // Seven cells per row. A catalog without an information line gets empty
    // cells besides its name and comment; a last name without its line (a
    // damaged list) counts as such a catalog.
    static std::vector<QStringList> rows(const PairList &catalogInfo, const PairList &treeComments);
    // The label and UUID of the medium a catalog was made from, where known:
    // two cells that may follow a row.
    static QStringList mediumCells(const VolumeStore &volumes, const QString &catalog);

    // Stores a comment edited in the report's Comment column as the
    // catalog's comment. An empty text removes the catalog's comment.
    static void storeComment(PairList &treeComments, const QString &catalog, const QString &text);
};
