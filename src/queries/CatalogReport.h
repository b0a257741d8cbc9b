#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class PairList;
class VolumeStore;

// The report of all catalogs: one row per catalog of the information list,
// in order of name, with its drive type, space, directory, last update,
// comment, and the label and UUID of the medium it was made from. Built
// from the lists in memory; no catalog file is read.
class CatalogReport
{
public:
    enum Column {
        Name,
        Type,
        TotalSpace,
        FreeSpace,
        Directory,
        LastUpdated,
        Comment,
        Label,
        Uuid,
        ColumnCount
    };

    // "<n> Catalogs"
    static QString statusText(qsizetype rows);

    // ColumnCount cells per row. A catalog without an information line gets
    // empty cells besides its name and comment; a last name without its
    // line (a damaged list) counts as such a catalog. The label and UUID
    // are empty where no medium is recorded.
    static std::vector<QStringList> rows(const PairList &catalogInfo, const PairList &treeComments,
                                         const VolumeStore &volumes);

    // Stores a comment edited in the report's Comment column as the
    // catalog's comment. An empty text removes the catalog's comment.
    static void storeComment(PairList &treeComments, const QString &catalog, const QString &text);
};
