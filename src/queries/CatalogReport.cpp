#include "CatalogReport.h"

#include "library/CommaText.h"
#include "library/PairList.h"
#include "library/SortedLineList.h"

namespace {

// The report row text: the quoted name, then the information line, so that
// row field k + 1 is information field k.
QString rowText(const QString &name, const QString &info)
{
    QString row = CommaText::join({name}) + u',';
    if (!info.isEmpty())
        return row + info;
    return row + CommaText::join(QStringList(11));
}

} // namespace

QStringList CatalogReport::headers()
{
    return {QStringLiteral("Catalog Name"), QStringLiteral("Type"),
            QStringLiteral("Total Space"),  QStringLiteral("Free Space"),
            QStringLiteral("Directory"),    QStringLiteral("Last Updated"),
            QStringLiteral("Comment")};
}

QString CatalogReport::statusText(qsizetype rows)
{
    return QStringLiteral("%1 Catalogs").arg(rows);
}

std::vector<QStringList> CatalogReport::rows(const PairList &catalogInfo,
                                             const PairList &treeComments)
{
    SortedLineList sorted;
    const qsizetype lines = catalogInfo.lines().size();
    for (qsizetype pair = 0; pair * 2 < lines; ++pair)
        sorted.add(rowText(catalogInfo.nameAt(pair), catalogInfo.valueAt(pair)));

    // Row fields shown in columns 0 to 5: the name, then information
    // fields 6, 4, 5, 3 and 7.
    static const int kRowFields[] = {0, 7, 5, 6, 4, 8};
    std::vector<QStringList> out;
    out.reserve(size_t(sorted.count()));
    for (const QString &row : sorted.lines()) {
        const QStringList fields = CommaText::split(row);
        QStringList cells;
        for (int k : kRowFields)
            cells << CommaText::field(fields, k);
        const QString name = cells.at(Name);
        cells << (treeComments.contains(name) ? treeComments.value(name) : QString());
        out.push_back(cells);
    }
    return out;
}

void CatalogReport::storeComment(PairList &treeComments, const QString &catalog,
                                 const QString &text)
{
    QString comment = text;
    // The comments file holds one line per comment.
    comment.replace(u'\r', u' ').replace(u'\n', u' ');
    if (comment.isEmpty())
        treeComments.remove(catalog);
    else
        treeComments.setValue(catalog, comment);
}
