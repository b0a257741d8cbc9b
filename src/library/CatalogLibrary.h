#pragma once

#include <QString>
#include <QStringList>

class SortedLineList;
struct LibraryState;

// The library directory: Kestrovane.INI, Master.TXT, Comments.TXT and the
// Catalogs folder with one file per catalog and the information list.
class CatalogLibrary
{
public:
    explicit CatalogLibrary(const QString &root);

    // Where the library lives for a program installed in programDir: that
    // directory when it is writable and already holds Kestrovane.INI or a
    // Catalogs folder, otherwise the per-user data directory.
    static QString locate(const QString &programDir);

    const QString &root() const { return m_root; }
    QString settingsPath() const { return m_root + QLatin1String("/Kestrovane.INI"); }
    QString treePath() const { return m_root + QLatin1String("/Master.TXT"); }
    QString commentsPath() const { return m_root + QLatin1String("/Comments.TXT"); }
    QString catalogsDir() const { return m_root + QLatin1String("/Catalogs"); }
    QString infoListPath() const { return catalogsDir() + QLatin1String("/Master"); }
    // The media of the catalogs; a library made without it has none.
    QString volumesPath() const { return catalogsDir() + QLatin1String("/Volumes"); }

    // The file of a catalog: the existing file whose name equals name +
    // ".TXT" without regard to case, else the path a new file gets.
    QString catalogFilePath(const QString &name) const;
    bool catalogFileExists(const QString &name) const;
    // Loads a catalog file into a sorted, duplicate-dropping list; false when
    // it cannot be read.
    bool loadCatalog(const QString &name, SortedLineList &lines, QString *error = nullptr) const;
    bool writeCatalog(const QString &name, const QStringList &lines, QString *error = nullptr) const;
    // The same from a compact list, its bytes streamed.
    bool writeCatalogLines(const QString &name, const SortedLineList &lines, QString *error = nullptr) const;
    // Names of all catalog files (without ".TXT"), in directory order.
    QStringList catalogFileNames() const;

    // Start-up. A writer (the window, a changing command) takes the lock,
    // creates Catalogs when missing, completes a change a crash interrupted
    // (false and error when it cannot) and, in a new library, stores the
    // first tree; a reader only reads, under a shared lock. Both load the
    // tree, the information list and the comments. A list file that exists
    // but cannot be read is noted in state (unreadableFiles) instead of
    // being taken as missing. error says so when the library is busy.
    enum class Access { Reader, Writer };
    bool startUp(LibraryState &state, QString *error = nullptr, Access access = Access::Writer) const;
    // What to tell the user after start-up; empty when all is well.
    static QString unreadableMessage(const LibraryState &state);
    static QString unloadedLinesMessage(const LibraryState &state);
    // Stores list changes made to state and not stored yet; files another
    // program changed meanwhile are read again rather than overwritten.
    bool shutDown(LibraryState &state, QString *error = nullptr) const;

    // Reads the list files again when another program changed them since
    // state last read or wrote them; true when it did. The caller holds the
    // library's lock.
    bool refreshLists(LibraryState &state) const;
    // The identity of the three list files on disk, to compare with
    // LibraryState::listStamp.
    QByteArray listStamp() const;
    // Notes the lists as they now stand on disk (after a read or a commit).
    void noteStoredLists(LibraryState &state) const;

private:
    bool readListFile(const QString &path, QStringList &lines, LibraryState &state) const;
    void loadLists(LibraryState &state) const;

    QString m_root;
};
