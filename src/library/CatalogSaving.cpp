#include "CatalogSaving.h"

#include "TextCompare.h"

#include <QHash>
#include <QMultiHash>

#include <memory>
#include <thread>
#include <vector>

#include "CatalogLibrary.h"
#include "CellFields.h"
#include "CommaText.h"
#include "LibraryTransaction.h"
#include "SortedLineList.h"

namespace CatalogSaving {

namespace {

constexpr int EntryFields = 5;

// The entry key of a line, built in one piece: this runs for every line of
// a rescan and its catalog. Keys are matched exactly, letter case included,
// since "Same.txt" and "same.TXT" are two files; the folded form (fold) only
// finds files renamed in letter case.
QString keyOf(const QString &line, bool fold)
{
    CellFields::Span path, name;
    const bool hasPath = CellFields::find(line, 3, path);
    const bool hasName = CellFields::find(line, 0, name);
    if (path.escaped || name.escaped) {
        QString key = EntryKey(line);
        if (fold)
            TextCompare::foldInPlace(key);
        return key;
    }
    const QStringView pathText = hasPath ? QStringView(line).mid(path.start, path.length) : QStringView();
    const QStringView nameText = hasName ? QStringView(line).mid(name.start, name.length) : QStringView();
    if (!fold) {
        QString key;
        key.reserve(pathText.size() + nameText.size());
        key.append(pathText);
        key.append(nameText);
        return key;
    }
    QString key(pathText.size() + nameText.size(), Qt::Uninitialized);
    TextCompare::foldInto(pathText, key.data());
    TextCompare::foldInto(nameText, key.data() + pathText.size());
    return key;
}

// The new lines grouped by key: several files can share one key (a name
// holding a line break is written with a blank, so it reads like the file
// whose name has a blank there), and each of them is an entry.
struct NewKeys {
    struct Group {
        qsizetype first = -1;
        qsizetype last = -1;
    };
    QHash<QString, Group> groups;
    std::vector<qsizetype> next; // the next line of the same key, or -1
    std::vector<qsizetype> head; // the first line of the same key

    explicit NewKeys(const QStringList &lines)
    {
        groups.reserve(lines.size());
        next.assign(size_t(lines.size()), -1);
        head.resize(size_t(lines.size()));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QString key = keyOf(lines.at(i), false);
            auto found = groups.find(key);
            if (found == groups.end()) {
                groups.insert(std::move(key), {i, i});
                head[size_t(i)] = i;
            } else {
                next[size_t(found->last)] = i;
                found->last = i;
                head[size_t(i)] = found->first;
            }
        }
    }
};

QStringView fieldView(const QString &line, int k)
{
    CellFields::Span span;
    if (!CellFields::find(line, k, span))
        return {};
    return QStringView(line).mid(span.start, span.length);
}

// Size and date: of several files under one key, the stored line that
// shows the same size and date is the same file.
bool sameSizeAndDate(const QString &a, const QString &b)
{
    return fieldView(a, 1) == fieldView(b, 1) && fieldView(a, 2) == fieldView(b, 2);
}

// Pairs stored lines with new lines. A stored line whose key is among the
// new lines is kept whole; each of its key's new lines is taken by one such
// stored line, the rest of them are new entries. A stored line whose key
// is missing is kept when a new line left over differs from it only in
// letter case (a file renamed that way is the same file).
class Pairing
{
public:
    Pairing(const QStringList &newLines, const NewKeys &keys, const QStringList &stored)
        : m_new(newLines), m_keys(keys), m_stored(stored), m_used(size_t(newLines.size()), 0),
          m_groupStored(size_t(newLines.size()), 0), m_kept(size_t(stored.size()), 0)
    {}

    void run()
    {
        std::vector<qsizetype> unpaired;
        std::vector<qsizetype> unmatched;
        for (qsizetype i = 0; i < m_stored.size(); ++i) {
            // Each stored key is made only for its lookup: kept for all
            // lines, the keys of deep paths would weigh as much as the catalog.
            const auto group = m_keys.groups.constFind(keyOf(m_stored.at(i), false));
            if (group == m_keys.groups.cend()) {
                unmatched.push_back(i);
                continue;
            }
            m_kept[size_t(i)] = 1;
            m_groupStored[size_t(group->first)] = 1;
            if (!take(group->first, &m_stored.at(i)))
                unpaired.push_back(group->first);
        }
        for (const qsizetype first : unpaired)
            take(first, nullptr);
        if (!unmatched.empty())
            pairRenamedInCase(unmatched);
    }

    bool isKept(qsizetype stored) const { return m_kept[size_t(stored)]; }
    bool isUsed(qsizetype line) const { return m_used[size_t(line)]; }

private:
    // Takes the first new line of the group from first that is not taken
    // yet and, when like is given, shows its size and date.
    bool take(qsizetype first, const QString *like)
    {
        if (m_keys.next[size_t(first)] < 0)
            like = nullptr; // one file of that key: nothing to choose
        for (qsizetype j = first; j >= 0; j = m_keys.next[size_t(j)]) {
            if (!m_used[size_t(j)] && (!like || sameSizeAndDate(*like, m_new.at(j)))) {
                m_used[size_t(j)] = 1;
                return true;
            }
        }
        return false;
    }

    void pairRenamedInCase(const std::vector<qsizetype> &unmatched)
    {
        QMultiHash<QString, qsizetype> folded;
        for (const qsizetype i : unmatched)
            folded.insert(keyOf(m_stored.at(i), true), i);
        for (qsizetype j = 0; j < m_new.size(); ++j) {
            if (m_used[size_t(j)] || m_groupStored[size_t(m_keys.head[size_t(j)])])
                continue;
            const auto found = folded.find(keyOf(m_new.at(j), true));
            if (found == folded.end())
                continue;
            m_kept[size_t(found.value())] = 1;
            m_used[size_t(j)] = 1;
            folded.erase(found);
        }
    }

    const QStringList &m_new;
    const NewKeys &m_keys;
    const QStringList &m_stored;
    std::vector<char> m_used;
    std::vector<char> m_groupStored; // by a group's first line: a stored line has the key
    std::vector<char> m_kept;
};

QString countsText(int added, int removed)
{
    return QString::number(added) + QLatin1String(" New Addition(s) ") + QString::number(removed) +
           QLatin1String(" Removed");
}

bool writeOrStage(const CatalogLibrary &library, const QString &name, const QStringList &lines,
                  QString *error, LibraryTransaction *transaction)
{
    if (!transaction)
        return library.writeCatalog(name, lines, error);
    transaction->writeFile(library.catalogFilePath(name), lines);
    return true;
}

MergeResult failure(const QString &status, const QString &error = QString())
{
    MergeResult r;
    r.status = status;
    r.error = error;
    return r;
}

} // namespace

QString rowLine(const QStringList &cells)
{
    QStringList fields = cells.mid(0, EntryFields);
    while (fields.size() < EntryFields)
        fields.append(QString());
    return CommaText::join(fields);
}

QStringList rowLines(const TableRows &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList &row : rows)
        lines.append(rowLine(row));
    return lines;
}

QString EntryKey(const QStringList &fields)
{
    return CommaText::field(fields, 3) + CommaText::field(fields, 0);
}

QString EntryKey(const QString &line)
{
    // Reads only the two fields the key needs.
    return CellFields::text(line, 3) + CellFields::text(line, 0);
}

bool WriteTableRows(const CatalogLibrary &library, const QString &name, const TableRows &rows, QString *error,
                    LibraryTransaction *transaction)
{
    return writeOrStage(library, name, rowLines(rows), error, transaction);
}

bool WriteLines(const CatalogLibrary &library, const QString &name, SortedLineList &&lines, QString *error,
                LibraryTransaction *transaction)
{
    if (!transaction)
        return library.writeCatalogLines(name, lines, error);
    transaction->writeLineList(library.catalogFilePath(name), std::move(lines));
    return true;
}

namespace {

void moveEntries(QStringList &lines, const PathMove &move)
{
    if (move.from.isEmpty() || move.from == move.to)
        return;
    constexpr int PathField = 3;
    for (QString &line : lines) {
        QStringList fields = CommaText::split(line);
        if (fields.size() > PathField && fields.at(PathField).startsWith(move.from)) {
            fields[PathField].replace(0, move.from.size(), move.to);
            line = CommaText::join(fields);
        }
    }
}

} // namespace

MergeResult MergeWithStored(const CatalogLibrary &library, const QString &name, const QStringList &newLines,
                            MissingCatalog missing, LibraryTransaction *transaction, const PathMove &move)
{
    // The scanned keys are grouped on a second core while the stored file
    // is read.
    std::unique_ptr<NewKeys> keys;
    std::thread keyMaker([&] { keys = std::make_unique<NewKeys>(newLines); });
    SortedLineList stored;
    QString loadError;
    const bool exists = library.catalogFileExists(name);
    // A catalog that exists but cannot be read must not be taken as empty:
    // the merge would then write it without its comments.
    const bool loaded = exists && library.loadCatalog(name, stored, &loadError);
    QStringList storedLines = stored.lines();
    moveEntries(storedLines, move);
    keyMaker.join();
    if (exists && !loaded)
        return failure(QLatin1String("Failed To Read ") + name + QLatin1String(" Catalog"), loadError);
    if (!exists && missing == MissingCatalog::Refuse)
        return failure(QLatin1String("ERROR - ") + name + QLatin1String(" Catalog Does Not Exists!"));

    Pairing pairing(newLines, *keys, storedLines);
    pairing.run();
    SortedLineList merged;
    MergeResult result;
    for (qsizetype i = 0; i < storedLines.size(); ++i) {
        if (pairing.isKept(i))
            merged.add(storedLines.at(i));
        else
            ++result.removed;
    }
    const qsizetype kept = merged.count();
    for (qsizetype i = 0; i < newLines.size(); ++i) {
        if (!pairing.isUsed(i))
            merged.add(newLines.at(i));
    }
    result.added = int(merged.count() - kept);

    QString error;
    if (!writeOrStage(library, name, merged.lines(), &error, transaction))
        return failure(QStringLiteral("Failed To Save Catalog"), error);
    result.ok = true;
    result.written = merged.count();
    result.status = countsText(result.added, result.removed);
    return result;
}

} // namespace CatalogSaving
