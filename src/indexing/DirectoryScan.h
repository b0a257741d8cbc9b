#pragma once

#include "FolderLister.h"
#include "library/DateFormats.h"
#include "library/MountTable.h"
#include "library/ScanOptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

class RunControl;
class SortedLineList;

// The walk shared by indexing and update runs: first every directory below a
// root, then the files of each directory, filtered by attributes and masks,
// as catalog lines (with the members of ZIP archives when asked).
//
// Attributes as the scan sees them: hidden means the name begins with ".";
// read-only means the owner has no write bit; system is anything that is
// neither a regular file nor a directory (links, FIFOs, sockets, devices).
// Links are never followed and the walk never leaves the root's file system:
// no directory on another device and no mount point of the mount table (bind
// mounts share their source's device) is entered.
//
// Names are read as FileNameText spells them, and every directory keeps its
// bytes as the file system gave them, so a name that is not UTF-8 is listed
// and its files are reached.
class DirectoryScan
{
public:
    struct Settings {
        ScanOptions options;
        QStringList masks; // empty: every file
        bool confirmZip = false;
        // Asked before an archive's members are listed when confirmZip is set,
        // with confirmZipText(); true to list them.
        std::function<bool(const QString &question)> confirmZipFile;
        // Told the message of an archive that could not be listed whole.
        std::function<void(const QString &message)> zipMessage;
        DateFormats formats;
        // Threads that list directories ahead of the scan; below 1, one
        // per processor.
        int threads = 0;
    };

    DirectoryScan(Settings settings, RunControl &control);

    // The root a directory-box text stands for: the current directory when
    // empty, absolute, ending in exactly one "/".
    static QString rootPath(const QString &text);
    static QString zipConfirmText(const QString &archive);

    // Lists every directory below root (when sub-directories are asked for)
    // and then root itself, into dirList and directories(). False when the
    // run was stopped.
    bool collectDirectories(const QString &root, SortedLineList &dirList);
    // Adds the catalog lines of the files of every collected directory.
    // False when stopped; the lines gathered until then stay.
    bool collectFiles(SortedLineList &fileLines);

    // The directories collected, sorted. Unlike the sorted line list this
    // keeps directories whose names differ only in letter case, which are
    // different directories here.
    const QStringList &directories() const { return m_directories; }

private:
    struct Directory {
        QString text;
        QByteArray native; // the path as the file system spells it, ending in "/"
    };

    void walkBelow(const Directory &root);
    void sortDirectories();
    bool isOtherMount(const QByteArray &native) const;
    bool addFiles(qsizetype i, FolderLister::Listing &&listing, SortedLineList &fileLines);
    void addZipMembers(const QString &archive, const QByteArray &native, SortedLineList &fileLines);
    bool passesMasks(const QString &name) const;

    Settings m_settings;
    RunControl &m_control;
    QStringList m_directories;
    QList<QByteArray> m_nativeDirectories; // beside m_directories
    MountTable m_mounts;
    QByteArray m_rootNative;
    QByteArray m_rootReal; // the root without symbolic links, as the mount table names it
    dev_t m_rootDevice = 0;
    bool m_stopped = false;
};
