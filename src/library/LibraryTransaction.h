#pragma once

#include "CategoryTree.h"
#include "PairList.h"
#include "SortedLineList.h"
#include "VolumeStore.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CatalogLibrary;
class LibraryLock;
struct LibraryState;

// One change of the library, all or nothing: a command's new catalog files,
// its catalog renames and deletions, and Master.TXT, Catalogs/Master,
// Comments.TXT and Catalogs/Volumes as the state holds them afterwards.
//
// New contents are first written beside their targets under the library's
// own temporary name (target + ".kvnew"; for a symbolic link, beside the
// file it leads to). Then a commit record in the library root lists every
// rename and deletion, then they are carried out and the record is
// removed. recover() completes a record left behind by a crash, so the
// library is always either as before or as after a change. A record only
// ever names the list files and catalog files of the library itself.
//
// A transaction holds the library's lock from its construction to its end.
// Under the lock it first reads the list files again when another program
// changed them, so the change is made to the library as it is now and no
// other program's change is undone; a change therefore names catalogs and
// categories by name, never by a position found before.
class LibraryTransaction
{
public:
    // Takes the lock, brings state's lists up to date, and remembers the
    // tree, the lists and the table's names of state, so a commit that fails
    // can put them back. Without the lock, commit() fails and says who
    // holds it.
    LibraryTransaction(const CatalogLibrary &library, LibraryState &state);
    ~LibraryTransaction();
    LibraryTransaction(const LibraryTransaction &) = delete;
    LibraryTransaction &operator=(const LibraryTransaction &) = delete;

    // Whether the lock came; when it did not, reason() says why.
    bool isLocked() const;
    // Gives the change up: commit() fails with reason, storing nothing.
    void abort(const QString &reason);
    // Also creates list files that are missing (a new library).
    void createMissingLists() { m_createMissing = true; }

    void writeFile(const QString &path, const QStringList &lines);
    // The same from a compact list, taken over so a large catalog is staged
    // without a UTF-16 copy of its lines.
    void writeLineList(const QString &path, SortedLineList &&lines);
    // Bytes stored exactly as given (a file edited in place).
    void writeBytes(const QString &path, const QByteArray &bytes);
    // Moves a file that must not replace another one (a catalog renamed).
    void renameFile(const QString &from, const QString &to);
    void removeFile(const QString &path);

    // Carries out the staged changes together with the three list files
    // (Master.TXT only when the tree holds a node; a file that could not be
    // read at start-up never). On failure the old files stay, state is put
    // back as it was when the transaction began, and error says why.
    bool commit(QString *error = nullptr);

    // Runs change on state and commits it at once.
    static bool apply(const CatalogLibrary &library, LibraryState &state,
                      const std::function<void(LibraryTransaction &)> &change, QString *error = nullptr);

    // Start-up: completes a commit record left behind and removes stray
    // temporary files of the library's own naming (and no other file),
    // under the library's lock. False, with error, when the lock does not
    // come, or a record cannot be completed or is not one the program writes
    // (then none of it is carried out and it stays, and error says what to
    // do); the library must then not be changed.
    static bool recover(const CatalogLibrary &library, QString *error = nullptr);
    static QString recordPath(const CatalogLibrary &library);
    static const QLatin1String temporarySuffix;

    // Test seam: the next commits stop, as if the program were killed, at
    // commit point point (1 after the new files are written, 2 after the
    // record is written, 2 + k after its k-th rename or deletion); 0 never.
    static void abandonAtCommitPoint(int point);
    // Whether the last commit stopped there.
    static bool lastCommitAbandoned();

private:
    struct Step {
        enum Kind { Write, Rename, Remove } kind;
        QString path;
        QString to;
        QStringList lines;
        SortedLineList compactLines;
        bool compact = false;
        QByteArray bytes;
        bool exact = false;
    };

    void stageLists();
    bool writeTemporaries(QString *error);
    bool writeRecord(QString *error);
    bool carryOut(QString *error);
    bool checkRenameTargets(QString *error) const;
    void removeTemporaries() const;
    bool fail(const QString &reason, QString *error);
    bool abandonedAt(int point);
    static bool stopped(QString *error);

    static std::unique_ptr<LibraryLock> lockAndRefresh(const CatalogLibrary &library, LibraryState &state);

    const CatalogLibrary &m_library;
    LibraryState &m_state;
    std::unique_ptr<LibraryLock> m_lock; // before the copies: they are taken under it
    QString m_abortReason;
    bool m_createMissing = false;
    std::vector<Step> m_steps;
    // The state as it was when the transaction began.
    CategoryTree m_tree;
    PairList m_catalogInfo;
    PairList m_treeComments;
    VolumeStore m_volumes;
    QString m_openCatalogName;
    QString m_savedScanName;
    bool m_pendingCommentEdits;
    bool m_pendingRowDeletions;
};
