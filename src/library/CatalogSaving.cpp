#include "CatalogSaving.h"

#include "TextCompare.h"

#include <QHash>

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

// A line's key folded so that a hash finds it without regard to case,
// built in one piece: this runs for every line of a rescan and its catalog.
QString foldedKey(const QString &line)
{
    CellFields::Span path, name;
    const bool hasPath = CellFields::find(line, 3, path);
    const bool hasName = CellFields::find(line, 0, name);
    if (path.escaped || name.escaped) {
        QString key = EntryKey(line);
        TextCompare::foldInPlace(key);
        return key;
    }
    const QStringView pathText = hasPath ? QStringView(line).mid(path.start, path.length) : QStringView();
    const QStringView nameText = hasName ? QStringView(line).mid(name.start, name.length) : QStringView();
    QString key(pathText.size() + nameText.size(), Qt::Uninitialized);
    TextCompare::foldInto(pathText, key.data());
    TextCompare::foldInto(nameText, key.data() + pathText.size());
    return key;
}

// The folded key of each line with the position of the first line that has
// it; firstOf[i] is that position for line i.
QHash<QString, qsizetype> keysOf(const QStringList &lines, std::vector<qsizetype> &firstOf)
{
    QHash<QString, qsizetype> keys;
    keys.reserve(lines.size());
    firstOf.resize(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString key = foldedKey(lines.at(i));
        auto found = keys.constFind(key);
        if (found == keys.cend())
            found = keys.insert(std::move(key), i);
        firstOf[size_t(i)] = found.value();
    }
    return keys;
}

QString countsText(int added, int removed)
{
    return QString::number(added) + QLatin1String(" New Addition(s) ") + QString::number(removed)
        + QLatin1String(" Removed");
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

bool WriteTableRows(const CatalogLibrary &library, const QString &name, const TableRows &rows,
                    QString *error, LibraryTransaction *transaction)
{
    return writeOrStage(library, name, rowLines(rows), error, transaction);
}

MergeResult MergeWithStored(const CatalogLibrary &library, const QString &name,
                            const QStringList &newLines, MissingCatalog missing,
                            LibraryTransaction *transaction)
{
    // Each scanned key with the position of its line; a stored line whose key
    // is among them is kept (with its comment) and marks that line as known.
    // The keys are made on a second core while the stored file is read.
    std::vector<qsizetype> firstOf;
    QHash<QString, qsizetype> scanKeys;
    std::thread keyMaker([&] { scanKeys = keysOf(newLines, firstOf); });
    SortedLineList stored;
    QString loadError;
    const bool exists = library.catalogFileExists(name);
    // A catalog that exists but cannot be read must not be taken as empty:
    // the merge would then write it without its comments.
    const bool loaded = exists && library.loadCatalog(name, stored, &loadError);
    std::vector<QString> storedKeys;
    storedKeys.reserve(size_t(stored.count()));
    for (const QString &line : stored.lines())
        storedKeys.push_back(foldedKey(line));
    keyMaker.join();
    if (exists && !loaded)
        return failure(QLatin1String("Failed To Read ") + name + QLatin1String(" Catalog"), loadError);
    if (!exists && missing == MissingCatalog::Refuse)
        return failure(QLatin1String("ERROR - ") + name + QLatin1String(" Catalog Does Not Exists!"));

    std::vector<bool> known(size_t(newLines.size()), false);
    SortedLineList merged;
    MergeResult result;
    for (qsizetype i = 0; i < stored.count(); ++i) {
        const auto found = scanKeys.constFind(storedKeys[size_t(i)]);
        if (found == scanKeys.cend()) {
            ++result.removed;
            continue;
        }
        merged.add(stored.at(i));
        known[size_t(found.value())] = true;
    }
    const qsizetype kept = merged.count();
    for (qsizetype i = 0; i < newLines.size(); ++i) {
        if (!known[size_t(firstOf[size_t(i)])])
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
