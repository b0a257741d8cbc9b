#include "LibraryTransaction.h"

#include "CatalogLibrary.h"
#include "LibraryLock.h"
#include "LibraryState.h"
#include "SafeFileWriter.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QLatin1String kRecordName("Kestrovane.commit");
const QLatin1String kRecordHeader("Kestrovane commit record");
const QLatin1String kRecordEnd("end");
const QLatin1String kRenameOp("rename");
const QLatin1String kRemoveOp("remove");

int s_abandonAt = 0;
bool s_abandoned = false;

const QLatin1String kStagedSuffix(".kvnew");

// One line of the record, its paths relative to the library root: a staged
// new content put in place of its file, a catalog file moved to another
// name, or a catalog file removed. Nothing else is ever recorded.
struct Entry {
    enum Kind { Replace, Move, Remove } kind = Remove;
    QString from;
    QString to;
};

// Paths are stored percent-encoded, so a name holding a blank or a line
// break still fills exactly one field.
QString encodePath(const QString &relative)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(relative));
}

QString decodePath(const QString &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field.toLatin1()));
}

QString relativePath(const QDir &root, const QString &path)
{
    return root.relativeFilePath(QFileInfo(path).absoluteFilePath());
}

// The record's entry for a step of a transaction (its type is private to
// the class, so it comes in as a parameter).
template <typename Step>
Entry entryOf(const QDir &root, const Step &step)
{
    const QString path = relativePath(root, step.path);
    if (step.kind == Step::Write)
        return {Entry::Replace, path + kStagedSuffix, path};
    if (step.kind == Step::Rename)
        return {Entry::Move, path, relativePath(root, step.to)};
    return {Entry::Remove, path, QString()};
}

QString absolute(const QDir &root, const QString &relative)
{
    return root.path() + u'/' + relative;
}

// The staged new content of a file sits beside the file a rewrite replaces,
// which for a symbolic link is the file the link leads to.
QString stagedPath(const QString &path)
{
    return SafeFileWriter::finalTarget(path) + kStagedSuffix;
}

enum class FileKind { None, List, Catalog };

bool isCatalogFileName(QStringView name)
{
    return name.size() > 4 && name.endsWith(u".TXT", Qt::CaseInsensitive) && !name.contains(QChar(0));
}

// What a relative path names: one of the three list files, a catalog file
// of Catalogs, or nothing a record may touch (absolute paths, "..", other
// folders and names all end here).
FileKind kindOf(const QString &relative)
{
    const QStringList parts = relative.split(u'/');
    if (parts.size() == 1)
        return parts.first() == u"Master.TXT" || parts.first() == u"Comments.TXT" ? FileKind::List
                                                                                  : FileKind::None;
    if (parts.size() != 2 || parts.first() != u"Catalogs")
        return FileKind::None;
    if (parts.last() == u"Master" || parts.last() == u"Volumes")
        return FileKind::List;
    return isCatalogFileName(parts.last()) ? FileKind::Catalog : FileKind::None;
}

// The folder of a recorded file must be the library root or its Catalogs
// folder themselves, not a symbolic link that leads elsewhere.
bool folderInside(const QDir &root, const QString &relative)
{
    const QString canonicalRoot = QFileInfo(root.path()).canonicalFilePath();
    const bool inCatalogs = relative.contains(u'/');
    const QString folder = inCatalogs ? root.path() + QLatin1String("/Catalogs") : root.path();
    const QString expected = inCatalogs ? canonicalRoot + QLatin1String("/Catalogs") : canonicalRoot;
    return !canonicalRoot.isEmpty() && QFileInfo(folder).canonicalFilePath() == expected;
}

bool isAcceptable(const QDir &root, const Entry &entry)
{
    const auto inside = [&root](const QString &path, FileKind kind) {
        return kindOf(path) == kind && folderInside(root, path);
    };
    switch (entry.kind) {
    case Entry::Replace:
        return entry.from == entry.to + kStagedSuffix && kindOf(entry.to) != FileKind::None &&
               folderInside(root, entry.to);
    case Entry::Move:
        return inside(entry.from, FileKind::Catalog) && inside(entry.to, FileKind::Catalog);
    case Entry::Remove:
        return inside(entry.from, FileKind::Catalog);
    }
    return false;
}

QString entryLine(const Entry &entry)
{
    if (entry.kind == Entry::Remove)
        return kRemoveOp + u' ' + encodePath(entry.from);
    return kRenameOp + u' ' + encodePath(entry.from) + u' ' + encodePath(entry.to);
}

enum class RecordState { Whole, Unfinished, Foreign };

// The entries of a whole record. A record that begins like ours but lacks
// its end was never committed (it is written in one piece). Anything else
// that is not exactly what the program writes is foreign.
RecordState parseRecord(const QDir &root, const QStringList &lines, std::vector<Entry> &entries)
{
    if (lines.isEmpty() || lines.first() != kRecordHeader)
        return RecordState::Foreign;
    if (lines.size() < 2 || lines.last() != kRecordEnd)
        return RecordState::Unfinished;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList parts = lines.at(i).split(u' ');
        Entry entry;
        if (parts.size() == 3 && parts.at(0) == kRenameOp) {
            entry = {Entry::Move, decodePath(parts.at(1)), decodePath(parts.at(2))};
            if (entry.from == entry.to + kStagedSuffix)
                entry.kind = Entry::Replace;
        } else if (parts.size() == 2 && parts.at(0) == kRemoveOp) {
            entry = {Entry::Remove, decodePath(parts.at(1)), QString()};
        } else {
            return RecordState::Foreign;
        }
        if (!isAcceptable(root, entry))
            return RecordState::Foreign;
        entries.push_back(entry);
    }
    return RecordState::Whole;
}

// Makes the renames in a folder last through a power cut before the next
// step relies on them.
void syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool renamed(const QString &from, const QString &to, QString *error)
{
    // Replaces the target in one step, as the platform's rename does.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QStringLiteral("Cannot rename %1 to %2: %3")
                     .arg(from, to, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

// Carries out one entry. A source that is gone means the entry was carried
// out before a crash, so doing it again is harmless. A replaced file that
// is a symbolic link keeps the link: its final file is replaced.
bool perform(const QDir &root, const Entry &entry, QString *error)
{
    if (entry.kind == Entry::Replace) {
        const QString target = SafeFileWriter::finalTarget(absolute(root, entry.to));
        const QString staged = target + kStagedSuffix;
        return !exists(staged) || renamed(staged, target, error);
    }
    const QString from = absolute(root, entry.from);
    if (!exists(from))
        return true;
    if (entry.kind == Entry::Move)
        return renamed(from, absolute(root, entry.to), error);
    QFile file(from);
    if (file.remove())
        return true;
    if (error)
        *error = QStringLiteral("Cannot delete %1: %2").arg(from, file.errorString());
    return false;
}

// Only names the program itself makes: its writers' temporaries, and the
// staged new content of a list or catalog file.
bool isStray(const QString &fileName, bool inCatalogs)
{
    if (SafeFileWriter::isTemporaryName(fileName))
        return true;
    if (!fileName.endsWith(kStagedSuffix))
        return false;
    const QString file = fileName.chopped(kStagedSuffix.size());
    return kindOf(inCatalogs ? QLatin1String("Catalogs/") + file : file) != FileKind::None;
}

// A list or catalog file that is a symbolic link has its staged content and
// temporaries beside the file it leads to; exactly those names go.
void removeStraysBeside(const QString &target)
{
    const QFileInfo info(target);
    const QString tail = u'-' + info.fileName() + QLatin1String(".kvtmp");
    const QDir folder = info.dir();
    QFile::remove(target + kStagedSuffix);
    for (const QString &name :
         folder.entryList({QStringLiteral(".kvtmp-*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (SafeFileWriter::isTemporaryName(name) && name.endsWith(tail) && name.size() == 19 + tail.size())
            QFile::remove(folder.filePath(name));
    }
}

void removeStrays(const QString &dir, bool inCatalogs)
{
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        if (isStray(file.fileName(), inCatalogs))
            QFile::remove(file.filePath());
        else if (file.isSymLink() &&
                 kindOf(inCatalogs ? "Catalogs/" + file.fileName() : file.fileName()) != FileKind::None)
            removeStraysBeside(SafeFileWriter::finalTarget(file.filePath()));
    }
}

QString refusedMessage(const QString &record)
{
    return QStringLiteral("The change record %1 does not come from Kestrovane and was not carried out. "
                          "Move it out of the library folder, then start again.")
        .arg(QDir::toNativeSeparators(record));
}

} // namespace

const QLatin1String LibraryTransaction::temporarySuffix(kStagedSuffix);

LibraryTransaction::LibraryTransaction(const CatalogLibrary &library, LibraryState &state)
    : m_library(library), m_state(state), m_lock(lockAndRefresh(library, state)), m_tree(state.tree),
      m_catalogInfo(state.catalogInfo), m_treeComments(state.treeComments), m_volumes(state.volumes),
      m_openCatalogName(state.openCatalogName), m_savedScanName(state.savedScanName),
      m_pendingCommentEdits(state.pendingCommentEdits), m_pendingRowDeletions(state.pendingRowDeletions)
{}

LibraryTransaction::~LibraryTransaction() = default;

std::unique_ptr<LibraryLock> LibraryTransaction::lockAndRefresh(const CatalogLibrary &library,
                                                                LibraryState &state)
{
    auto lock = std::make_unique<LibraryLock>(library.root());
    if (lock->isLocked())
        library.refreshLists(state);
    return lock;
}

bool LibraryTransaction::isLocked() const
{
    return m_lock->isLocked();
}

void LibraryTransaction::abort(const QString &reason)
{
    if (m_abortReason.isEmpty())
        m_abortReason = reason;
}

void LibraryTransaction::writeFile(const QString &path, const QStringList &lines)
{
    m_steps.push_back({Step::Write, path, QString(), lines, {}, false, {}, false});
}

void LibraryTransaction::writeLineList(const QString &path, SortedLineList &&lines)
{
    m_steps.push_back({Step::Write, path, QString(), {}, std::move(lines), true, {}, false});
}

void LibraryTransaction::writeBytes(const QString &path, const QByteArray &bytes)
{
    m_steps.push_back({Step::Write, path, QString(), {}, {}, false, bytes, true});
}

void LibraryTransaction::renameFile(const QString &from, const QString &to)
{
    m_steps.push_back({Step::Rename, from, to, {}, {}, false, {}, false});
}

void LibraryTransaction::removeFile(const QString &path)
{
    m_steps.push_back({Step::Remove, path, QString(), {}, {}, false, {}, false});
}

QString LibraryTransaction::recordPath(const CatalogLibrary &library)
{
    return library.root() + u'/' + kRecordName;
}

bool LibraryTransaction::apply(const CatalogLibrary &library, LibraryState &state,
                               const std::function<void(LibraryTransaction &)> &change, QString *error)
{
    LibraryTransaction transaction(library, state);
    change(transaction);
    return transaction.commit(error);
}

void LibraryTransaction::abandonAtCommitPoint(int point)
{
    s_abandonAt = point;
}

bool LibraryTransaction::lastCommitAbandoned()
{
    return s_abandoned;
}

bool LibraryTransaction::abandonedAt(int point)
{
    s_abandoned = s_abandonAt == point;
    return s_abandoned;
}

void LibraryTransaction::stageLists()
{
    // A list is written only when the change altered it (or, in a new
    // library, when it is missing), never one that could not be read.
    const auto stage = [this](const QString &path, const QStringList &lines, const QStringList &stored) {
        if (m_state.unreadableFiles.contains(path))
            return;
        if (lines != stored || (m_createMissing && !exists(path)))
            writeFile(path, lines);
    };
    if (!m_state.tree.isEmpty())
        stage(m_library.treePath(), m_state.tree.saveLines(), m_state.storedTree);
    stage(m_library.infoListPath(), m_state.catalogInfo.lines(), m_state.storedInfo);
    stage(m_library.commentsPath(), m_state.treeComments.lines(), m_state.storedComments);
    // Made by the first change that records a medium, never empty.
    if (!m_state.volumes.isEmpty() || exists(m_library.volumesPath()))
        stage(m_library.volumesPath(), m_state.volumes.lines(), m_state.storedVolumes);
}

bool LibraryTransaction::commit(QString *error)
{
    s_abandoned = false;
    if (!m_lock->isLocked())
        return fail(m_lock->error(), error);
    if (!m_abortReason.isEmpty())
        return fail(m_abortReason, error);
    QString reason;
    // A change left unfinished must be completed before the record is reused.
    if (exists(recordPath(m_library)) && !recover(m_library, &reason))
        return fail(reason, error);
    stageLists();
    if (!checkRenameTargets(&reason))
        return fail(reason, error);
    if (!writeTemporaries(&reason)) {
        removeTemporaries();
        return fail(reason, error);
    }
    syncFolder(m_library.catalogsDir());
    if (abandonedAt(1))
        return stopped(error);
    if (!writeRecord(&reason)) {
        removeTemporaries();
        QFile::remove(recordPath(m_library));
        return fail(reason, error);
    }
    syncFolder(m_library.root());
    if (abandonedAt(2))
        return stopped(error);
    return carryOut(error);
}

bool LibraryTransaction::checkRenameTargets(QString *error) const
{
    for (const Step &step : m_steps) {
        if (step.kind == Step::Rename && exists(step.to)) {
            *error = QStringLiteral("Cannot rename %1: %2 already exists").arg(step.path, step.to);
            return false;
        }
    }
    return true;
}

bool LibraryTransaction::writeTemporaries(QString *error)
{
    for (const Step &step : m_steps) {
        if (step.kind != Step::Write)
            continue;
        const TextFile::Destination staged = TextFile::Destination::staged(stagedPath(step.path), step.path);
        bool written = false;
        if (step.exact)
            written = TextFile::writeBytes(staged, step.bytes, error);
        else if (step.compact)
            written = TextFile::writeLineList(staged, step.compactLines, error);
        else
            written = TextFile::writeLines(staged, step.lines, error);
        if (!written)
            return false;
    }
    return true;
}

void LibraryTransaction::removeTemporaries() const
{
    for (const Step &step : m_steps) {
        if (step.kind == Step::Write)
            QFile::remove(stagedPath(step.path));
    }
}

// The record names the files as the library sees them; a step the start-up
// would refuse to carry out is refused here, before anything changes.
bool LibraryTransaction::writeRecord(QString *error)
{
    const QDir root(m_library.root());
    QStringList lines{kRecordHeader};
    for (const Step &step : m_steps) {
        const Entry entry = entryOf(root, step);
        if (!isAcceptable(root, entry)) {
            *error = QStringLiteral("%1 is not a file of the library's own folders; nothing was changed")
                         .arg(step.kind == Step::Rename ? step.to : step.path);
            return false;
        }
        lines << entryLine(entry);
    }
    lines << kRecordEnd;
    return TextFile::writeLines(recordPath(m_library), lines, error);
}

bool LibraryTransaction::carryOut(QString *error)
{
    // The record is written: from here on the change stands, and a failure
    // leaves the record for the next start-up to complete.
    const QDir root(m_library.root());
    QStringList problems;
    int point = 2;
    for (const Step &step : m_steps) {
        if (QString problem; !perform(root, entryOf(root, step), &problem))
            problems << problem;
        if (abandonedAt(++point))
            return stopped(error);
    }
    if (!problems.isEmpty()) {
        m_state.listStamp = "?"; // the files are read again before the next change
        if (error)
            *error = problems.join(u'\n') +
                     QStringLiteral("\nThe change will be completed when the program starts again.");
        return false;
    }
    syncFolder(m_library.catalogsDir());
    syncFolder(m_library.root());
    QFile::remove(recordPath(m_library));
    m_library.noteStoredLists(m_state);
    return true;
}

bool LibraryTransaction::stopped(QString *error)
{
    if (error)
        *error = QStringLiteral("Stopped at commit point %1").arg(s_abandonAt);
    return false;
}

bool LibraryTransaction::fail(const QString &reason, QString *error)
{
    m_state.tree = m_tree;
    m_state.catalogInfo = m_catalogInfo;
    m_state.treeComments = m_treeComments;
    m_state.volumes = m_volumes;
    m_state.openCatalogName = m_openCatalogName;
    m_state.savedScanName = m_savedScanName;
    m_state.pendingCommentEdits = m_pendingCommentEdits;
    m_state.pendingRowDeletions = m_pendingRowDeletions;
    if (error)
        *error = reason;
    return false;
}

bool LibraryTransaction::recover(const CatalogLibrary &library, QString *error)
{
    const LibraryLock lock(library.root());
    if (!lock.isLocked()) {
        if (error)
            *error = lock.error();
        return false;
    }
    const QString record = recordPath(library);
    if (exists(record)) {
        QStringList lines;
        if (!TextFile::readLines(record, lines, error))
            return false;
        const QDir root(library.root());
        std::vector<Entry> entries;
        const RecordState state = parseRecord(root, lines, entries);
        // A record the program would not write is left for the user to see;
        // none of it is carried out.
        if (state == RecordState::Foreign) {
            if (error)
                *error = refusedMessage(record);
            return false;
        }
        for (const Entry &entry : entries) {
            if (QString problem; !perform(root, entry, &problem)) {
                if (error)
                    *error =
                        problem +
                        QStringLiteral("\nThe change recorded in %1 cannot be completed until this is put "
                                       "right; then start again.")
                            .arg(QDir::toNativeSeparators(record));
                return false;
            }
        }
        QFile::remove(record);
    }
    removeStrays(library.root(), false);
    removeStrays(library.catalogsDir(), true);
    return true;
}
