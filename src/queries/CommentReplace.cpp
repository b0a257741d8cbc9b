#include "CommentReplace.h"

#include "indexing/RunControl.h"
#include "library/CatalogBytes.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryTransaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The line rebuilt with search replaced once in its comment, or a null
// text when the comment does not hold it. Anything but five fields is not
// an entry the program wrote: rebuilding it would shift fields, so it stays.
QString replacedLine(const QString &line, const QString &search, const QString &replacement)
{
    QStringList fields = CommaText::split(line);
    if (fields.size() != 5)
        return QString();
    QString &comment = fields[4];
    const qsizetype at = comment.indexOf(search);
    if (at < 0)
        return QString();
    comment.replace(at, search.size(), replacement);
    return CommaText::join(fields);
}

// What a line's bytes must hold for its comment to hold search. A stored
// quote is doubled, so the longest piece of search without one is looked
// for; a search of quotes alone needs a quote.
QString linePrefilter(const QString &search)
{
    QString longest;
    for (const QString &piece : search.split(u'"')) {
        if (piece.size() > longest.size())
            longest = piece;
    }
    return longest.isEmpty() ? QStringLiteral("\"") : longest;
}

// Reads into bytes, whose room is kept from file to file: a fresh buffer
// for every catalog costs more in page faults than the search itself.
bool readFile(const QString &path, QByteArray &bytes, QString &reason)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        bytes.resize(file.size());
        const qint64 got = file.read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(got);
            bytes += file.readAll(); // whatever was added meanwhile
        }
        if (got >= 0 && file.error() == QFileDevice::NoError)
            return true;
    }
    reason = path + QStringLiteral(": ") + file.errorString();
    return false;
}

// The catalog a failed change names (its writers name the file in their
// reason), else the first one changed.
QString failedFile(const QStringList &paths, const QString &reason)
{
    for (const QString &path : paths) {
        if (reason.contains(path))
            return path;
    }
    return paths.first();
}

} // namespace

qsizetype CommentReplace::Result::total() const
{
    qsizetype sum = 0;
    for (const CatalogCount &c : changed)
        sum += c.replacements;
    return sum;
}

CommentReplace::CommentReplace(const CatalogLibrary &library, LibraryState &state)
    : m_library(library), m_state(state)
{}

QStringList CommentReplace::catalogFiles() const
{
    const QDir dir(m_library.catalogsDir());
    QStringList paths;
    // Name filters ignore letter case unless told otherwise.
    for (const QString &entry :
         dir.entryList({QStringLiteral("*.TXT")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
        paths << dir.filePath(entry);
    return paths;
}

CommentReplace::Result CommentReplace::run(const QString &search, const QString &replacement,
                                           RunControl &control) const
{
    Result result;
    if (search.isEmpty() || replacement.isEmpty())
        return result;
    control.progress(QStringLiteral("Getting catalog list..."));
    const QStringList files = catalogFiles();
    if (files.isEmpty()) {
        result.outcome = Outcome::NoCatalogs;
        result.message = QStringLiteral("No catalogs exists!");
        return result;
    }
    // Every changed catalog is stored in one change: all of them or none.
    LibraryTransaction transaction(m_library, m_state);
    // A comment is one line, so a text with a line break is in none.
    const bool findable = !search.contains(u'\r') && !search.contains(u'\n');
    const QString prefilter = linePrefilter(search);
    const auto rebuild = [&](const QString &line) { return replacedLine(line, search, replacement); };
    result.outcome = Outcome::Finished;
    QByteArray bytes;
    QStringList changedPaths;
    for (const QString &path : files) {
        if (!readFile(path, bytes, result.reason)) {
            result.outcome = Outcome::Failed;
            result.message = QStringLiteral("Cannot open file ") + path;
            break;
        }
        const QString fileName = QFileInfo(path).fileName();
        const QString name = fileName.first(fileName.size() - 4);
        control.progress(QStringLiteral("Searching ") + name + QStringLiteral(" catalog..."));
        QByteArray out;
        const qsizetype count = findable ? CatalogBytes::editLines(bytes, prefilter, rebuild, out) : 0;
        if (count == 0)
            continue;
        transaction.writeBytes(path, out);
        changedPaths << path;
        result.changed.append({name, count});
    }
    if (result.outcome == Outcome::Finished && !changedPaths.isEmpty() &&
        !transaction.commit(&result.reason)) {
        result.outcome = Outcome::Failed;
        result.message = QStringLiteral("Cannot create file ") + failedFile(changedPaths, result.reason);
    }
    if (result.outcome == Outcome::Failed)
        result.changed.clear(); // none of the files was replaced
    control.progress(QStringLiteral("Finished"));
    return result;
}
