#include "CatalogSaving.h"

#include "CatalogLibrary.h"
#include "CommaText.h"
#include "SortedLineList.h"

namespace CatalogSaving {

namespace {

constexpr int EntryFields = 5;

SortedLineList keysOf(const QStringList &lines)
{
    SortedLineList keys;
    for (const QString &line : lines)
        keys.add(EntryKey(line));
    return keys;
}

QString countsText(int added, int removed)
{
    return QString::number(added) + QLatin1String(" New Addition(s) ") + QString::number(removed)
        + QLatin1String(" Removed");
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
    return EntryKey(CommaText::split(line));
}

bool WriteTableRows(const CatalogLibrary &library, const QString &name, const TableRows &rows,
                    QString *error)
{
    return library.writeCatalog(name, rowLines(rows), error);
}

MergeResult MergeWithStored(const CatalogLibrary &library, const QString &name,
                            const QStringList &newLines, MissingCatalog missing)
{
    SortedLineList stored;
    if (library.catalogFileExists(name)) {
        QString error;
        // A catalog that exists but cannot be read must not be taken as empty:
        // the merge would then write it without its comments.
        if (!library.loadCatalog(name, stored, &error))
            return failure(QLatin1String("Failed To Read ") + name + QLatin1String(" Catalog"), error);
    } else if (missing == MissingCatalog::Refuse) {
        return failure(QLatin1String("ERROR - ") + name + QLatin1String(" Catalog Does Not Exists!"));
    }

    const SortedLineList scanKeys = keysOf(newLines);
    SortedLineList merged;
    SortedLineList storedKeys;
    MergeResult result;
    for (const QString &line : stored.lines()) {
        const QString key = EntryKey(line);
        storedKeys.add(key);
        if (scanKeys.contains(key))
            merged.add(line);
        else
            ++result.removed;
    }
    const qsizetype kept = merged.count();
    for (const QString &line : newLines) {
        if (!storedKeys.contains(EntryKey(line)))
            merged.add(line);
    }
    result.added = int(merged.count() - kept);

    QString error;
    if (!library.writeCatalog(name, merged.lines(), &error))
        return failure(QStringLiteral("Failed To Save Catalog"), error);
    result.ok = true;
    result.written = merged.count();
    result.status = countsText(result.added, result.removed);
    return result;
}

} // namespace CatalogSaving
