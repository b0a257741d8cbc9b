#include "LibraryTransaction.h"

#include "CatalogLibrary.h"
#include "LibraryLock.h"
#include "LibraryState.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// One line of the record: a rename of from to to, or a removal of from.
struct Entry {
    bool remove = false;
    QString from;
    QString to;
};

// Paths are stored relative to the library root and percent-encoded, so a
// name holding a blank or a line break still fills exactly one field.
QString encodePath(const QDir &root, const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(root.relativeFilePath(path)));
}

QString decodePath(const QDir &root, const QString &field)
{
    return root.absoluteFilePath(QString::fromUtf8(QByteArray::fromPercentEncoding(field.toLatin1())));
}

QString entryLine(const QDir &root, const Entry &entry)
{
    if (entry.remove)
        return kRemoveOp + u' ' + encodePath(root, entry.from);
    return kRenameOp + u' ' + encodePath(root, entry.from) + u' ' + encodePath(root, entry.to);
}

// The entries of a whole record; false when the record is not whole (it was
// never committed, since it is written in one piece).
bool parseRecord(const QDir &root, const QStringList &lines, std::vector<Entry> &entries)
{
    if (lines.size() < 2 || lines.first() != kRecordHeader || lines.last() != kRecordEnd)
        return false;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList parts = lines.at(i).split(u' ');
        if (parts.size() == 3 && parts.at(0) == kRenameOp)
            entries.push_back({false, decodePath(root, parts.at(1)), decodePath(root, parts.at(2))});
        else if (parts.size() == 2 && parts.at(0) == kRemoveOp)
            entries.push_back({true, decodePath(root, parts.at(1)), QString()});
        else
            return false;
    }
    return true;
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

// Carries out one entry. A source that is gone means the entry was carried
// out before a crash, so doing it again is harmless.
bool perform(const Entry &entry, QString *error)
{
    if (!exists(entry.from))
        return true;
    if (entry.remove) {
        QFile file(entry.from);
        if (file.remove())
            return true;
        if (error)
            *error = QStringLiteral("Cannot delete %1: %2").arg(entry.from, file.errorString());
        return false;
    }
    // Replaces the target in one step, as the platform's rename does.
    if (std::rename(QFile::encodeName(entry.from).constData(), QFile::encodeName(entry.to).constData()) == 0)
        return true;
    if (error)
        *error = QStringLiteral("Cannot rename %1 to %2: %3")
                     .arg(entry.from, entry.to, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

// A save file's leftover carries six random letters of both cases. A suffix
// that reads like a word ("backup", "BACKUP", "Backup") may be the user's
// own copy and is left alone.
bool looksRandom(QStringView suffix)
{
    bool upper = false;
    bool lower = false;
    for (const QChar c : suffix) {
        upper = upper || c.isUpper();
        lower = lower || c.isLower();
    }
    const bool capitalisedWord = suffix.at(0).isUpper() && suffix.mid(1).toString().isLower();
    return upper && lower && !capitalisedWord;
}

// Temporary files of the library's own naming: ours (".kvnew", and what a
// save of one leaves) and what a save of a library file leaves behind after
// a crash.
bool isStray(const QString &fileName, bool inCatalogs)
{
    static const QRegularExpression rootNames(
        QStringLiteral("^(?:Master\\.TXT|Comments\\.TXT|Kestrovane\\.INI|Kestrovane\\.commit)"
                       "(?:(\\.kvnew)(?:\\.[A-Za-z]{6})?|\\.([A-Za-z]{6}))$"));
    static const QRegularExpression catalogNames(
        QStringLiteral("^(?:Master|.+\\.[Tt][Xx][Tt])(?:(\\.kvnew)(?:\\.[A-Za-z]{6})?|\\.([A-Za-z]{6}))$"));
    const QRegularExpressionMatch match = (inCatalogs ? catalogNames : rootNames).match(fileName);
    if (!match.hasMatch())
        return false;
    return match.capturedLength(1) > 0 || looksRandom(match.capturedView(2));
}

void removeStrays(const QString &dir, bool inCatalogs)
{
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (isStray(name, inCatalogs))
            QFile::remove(dir + u'/' + name);
    }
}

} // namespace

const QLatin1String LibraryTransaction::temporarySuffix(".kvnew");

LibraryTransaction::LibraryTransaction(const CatalogLibrary &library, LibraryState &state)
    : m_library(library), m_state(state), m_lock(lockAndRefresh(library, state)), m_tree(state.tree),
      m_catalogInfo(state.catalogInfo), m_treeComments(state.treeComments),
      m_openCatalogName(state.openCatalogName), m_savedScanName(state.savedScanName),
      m_pendingCommentEdits(state.pendingCommentEdits), m_pendingRowDeletions(state.pendingRowDeletions)
{
}

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
    m_steps.push_back({Step::Write, path, QString(), lines, {}, false});
}

void LibraryTransaction::writeLineList(const QString &path, SortedLineList &&lines)
{
    m_steps.push_back({Step::Write, path, QString(), {}, std::move(lines), true});
}

void LibraryTransaction::renameFile(const QString &from, const QString &to)
{
    m_steps.push_back({Step::Rename, from, to, {}, {}, false});
}

void LibraryTransaction::removeFile(const QString &path)
{
    m_steps.push_back({Step::Remove, path, QString(), {}, {}, false});
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
        const QString temporary = step.path + temporarySuffix;
        const bool written = step.compact ? TextFile::writeLineList(temporary, step.compactLines, error)
                                          : TextFile::writeLines(temporary, step.lines, error);
        if (!written)
            return false;
    }
    return true;
}

void LibraryTransaction::removeTemporaries() const
{
    for (const Step &step : m_steps) {
        if (step.kind == Step::Write)
            QFile::remove(step.path + temporarySuffix);
    }
}

bool LibraryTransaction::writeRecord(QString *error)
{
    const QDir root(m_library.root());
    QStringList lines{kRecordHeader};
    for (const Step &step : m_steps) {
        switch (step.kind) {
        case Step::Write:
            lines << entryLine(root, {false, step.path + temporarySuffix, step.path});
            break;
        case Step::Rename:
            lines << entryLine(root, {false, step.path, step.to});
            break;
        case Step::Remove:
            lines << entryLine(root, {true, step.path, QString()});
            break;
        }
    }
    lines << kRecordEnd;
    return TextFile::writeLines(recordPath(m_library), lines, error);
}

bool LibraryTransaction::carryOut(QString *error)
{
    // The record is written: from here on the change stands, and a failure
    // leaves the record for the next start-up to complete.
    QStringList problems;
    int point = 2;
    for (const Step &step : m_steps) {
        Entry entry{step.kind == Step::Remove, step.path, step.to};
        if (step.kind == Step::Write)
            entry = {false, step.path + temporarySuffix, step.path};
        if (QString problem; !perform(entry, &problem))
            problems << problem;
        if (abandonedAt(++point))
            return stopped(error);
    }
    if (!problems.isEmpty()) {
        m_state.listStamp.clear(); // the files are read again before the next change
        if (error)
            *error = problems.join(u'\n')
                + QStringLiteral("\nThe change will be completed when the program starts again.");
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
        std::vector<Entry> entries;
        if (parseRecord(QDir(library.root()), lines, entries)) {
            for (const Entry &entry : entries) {
                if (!perform(entry, error))
                    return false;
            }
        }
        QFile::remove(record);
    }
    removeStrays(library.root(), false);
    removeStrays(library.catalogsDir(), true);
    return true;
}
