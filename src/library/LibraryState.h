#pragma once

#include "CategoryTree.h"
#include "DisplayMode.h"
#include "PairList.h"
#include "SortedLineList.h"

#include <QString>

// The state the main window keeps about the library between start-up and
// shutdown; a plain struct so tests can inspect it.
struct LibraryState {
    CategoryTree tree;
    SortedLineList fileLines;
    SortedLineList dirList;
    PairList catalogInfo;   // CatalogInfoList: name, information line
    PairList treeComments;  // name, comment

    DisplayMode displayMode;
    QString openCatalogName;
    QString savedScanName;
    bool pendingCommentEdits = false;
    bool pendingRowDeletions = false;
    QString lastRunInfo;

    // List files that exist but could not be read at start-up: they are
    // never written in this run. readErrors says why, one text per file.
    QStringList unreadableFiles;
    QStringList readErrors;

    // Flags of the running operations.
    bool keepGoing = false;
    bool searching = false;
    bool findingDuplicates = false;
    bool updating = false;
    bool printing = false;
    bool masksCleared = false;

    bool changesPending() const { return pendingCommentEdits || pendingRowDeletions; }
    // The catalog the table's rows belong to, or empty.
    QString tableOwner() const
    {
        return !openCatalogName.isEmpty() ? openCatalogName : savedScanName;
    }
};
