#include "CatalogReport.h"

#include "library/CommaText.h"
#include "library/PairList.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/Utf8Fields.h"
#include "library/VolumeStore.h"

#include <iterator>

namespace {

// The report row as UTF-8: the quoted name, then the information line, so
// that row field k + 1 is information field k. The information line is
// encoded straight into the row, so a huge one is not copied once more.
QByteArray rowBytes(const QString &name, const QString &info)
{
    const QString prefix = CommaText::join({name}) + u',';
    if (info.isEmpty())
        return SortedLineList::encode(prefix + CommaText::join(QStringList(11)));
    QByteArray row = SortedLineList::encode(prefix);
    SortedLineList::appendEncoded(row, info);
    return row;
}

// The text of row field k, for each k of wanted, read in one pass.
QStringList rowFields(QByteArrayView row, const int *wanted, int count)
{
    QStringList cells;
    for (int i = 0; i < count; ++i)
        cells << QString();
    Utf8Fields::Cursor cursor(row);
    Utf8Fields::Span span;
    for (int k = 0; cursor.next(span); ++k) {
        for (int i = 0; i < count; ++i) {
            if (wanted[i] == k)
                cells[i] = SortedLineList::decode(Utf8Fields::bytes(row, span));
        }
    }
    return cells;
}

} // namespace

QString CatalogReport::statusText(qsizetype rows)
{
    return QStringLiteral("%1 Catalogs").arg(rows);
}

std::vector<QStringList> CatalogReport::rows(const PairList &catalogInfo, const PairList &treeComments,
                                             const VolumeStore &volumes)
{
    SortedLineList sorted;
    const qsizetype lines = catalogInfo.lines().size();
    for (qsizetype pair = 0; pair * 2 < lines; ++pair)
        sorted.addUtf8(rowBytes(catalogInfo.nameAt(pair), catalogInfo.valueAt(pair)));

    // Row fields shown in columns 0 to 5: the name, then information
    // fields 6, 4, 5, 3 and 7.
    static const int kRowFields[] = {0, 7, 5, 6, 4, 8};
    // Looked up by name in one table, not by reading every volume line for
    // each catalog: a library of thousands of catalogs has as many lines.
    const QHash<QString, VolumeIdentity> media = volumes.identitiesByName();
    std::vector<QStringList> out;
    out.reserve(size_t(sorted.count()));
    for (qsizetype i = 0; i < sorted.count(); ++i) {
        QStringList cells = rowFields(sorted.utf8At(i), kRowFields, int(std::size(kRowFields)));
        const QString name = cells.at(Name);
        cells << (treeComments.contains(name) ? treeComments.value(name) : QString());
        // A catalog without a recorded medium gets two empty cells.
        const VolumeIdentity medium = media.value(TextCompare::foldNoCase(name));
        cells << medium.label << medium.uuid;
        out.push_back(cells);
    }
    return out;
}

void CatalogReport::storeComment(PairList &treeComments, const QString &catalog, const QString &text)
{
    QString comment = text;
    // The comments file holds one line per comment.
    comment.replace(u'\r', u' ').replace(u'\n', u' ');
    if (comment.isEmpty())
        treeComments.remove(catalog);
    else
        treeComments.setValue(catalog, comment);
}
