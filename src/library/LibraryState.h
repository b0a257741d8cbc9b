#pragma once

#include "CategoryTree.h"
#include "DisplayMode.h"
#include "PairList.h"
#include "SortedLineList.h"
#include "VolumeStore.h"

#include <QByteArray>
#include <QString>

// The state the main window keeps about the library between start-up and
// shutdown; a plain struct so tests can inspect it.
struct LibraryState {
    CategoryTree tree;
    SortedLineList fileLines;
    SortedLineList dirList;
    PairList catalogInfo;  // CatalogInfoList: name, information line
    PairList treeComments; // name, comment
    VolumeStore volumes;   // the medium each catalog was made from

    DisplayMode displayMode;
    QString openCatalogName;
    QString savedScanName;
    bool pendingCommentEdits = false;
    bool pendingRowDeletions = false;
    QString lastRunInfo;
    VolumeIdentity lastRunMedium; // what the last indexing run scanned

    // List files that exist but could not be read at start-up: they are
    // never written in this run. readErrors says why, one text per file.
    QStringList unreadableFiles;
    QStringList readErrors;

    // The list files (and Catalogs/Volumes) as this state last read or wrote
    // them: their identity
    // on disk, to notice another program's change (empty when the state was
    // never read from a library), and their lines, so a change stores only
    // the files it altered.
    QByteArray listStamp;
    QStringList storedTree;
    QStringList storedInfo;
    QStringList storedComments;
    QStringList storedVolumes;
    // Counts the times the lists were read again because another program
    // had changed them; views of the tree rebuild when it moves.
    quint64 listReloads = 0;

    // Flags of the running operations.
    bool keepGoing = false;
    bool searching = false;
    bool findingDuplicates = false;
    bool findingSingleCopies = false;
    bool updating = false;
    bool printing = false;
    bool masksCleared = false;

    bool changesPending() const { return pendingCommentEdits || pendingRowDeletions; }
    // The catalog the table's rows belong to, or empty.
    QString tableOwner() const { return !openCatalogName.isEmpty() ? openCatalogName : savedScanName; }
};
