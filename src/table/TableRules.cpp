#include "TableRules.h"

namespace {

constexpr int kHintLimit = 50;
constexpr int kHintCut = 45;

} // namespace

namespace TableRules {

View viewFor(int columnCount)
{
    if (columnCount == ReportColumnCount)
        return View::Report;
    return columnCount == ResultColumnCount ? View::Result : View::Catalog;
}

QStringList titles(View view)
{
    if (view == View::Report) {
        return {QStringLiteral("Catalog Name"), QStringLiteral("Type"),      QStringLiteral("Total Space"),
                QStringLiteral("Free Space"),   QStringLiteral("Directory"), QStringLiteral("Last Updated"),
                QStringLiteral("Comment"),      QStringLiteral("Label"),     QStringLiteral("UUID")};
    }
    QStringList t{QStringLiteral("File Name"), QStringLiteral("File Size"), QStringLiteral("File Date"),
                  QStringLiteral("File Path"), QStringLiteral("Comments")};
    if (view == View::Result)
        t << QStringLiteral("Catalog Name");
    return t;
}

WidthSet widthSet(int columnCount)
{
    if (columnCount == ReportColumnCount)
        return WidthSet::Report;
    const bool catalogWidths = columnCount == CatalogColumnCount || columnCount == ResultColumnCount;
    return catalogWidths ? WidthSet::Catalog : WidthSet::None;
}

Qt::Alignment alignment(int columnCount, int column, int row)
{
    if (row == 0)
        return Qt::AlignCenter;
    const bool numeric = viewFor(columnCount) == View::Report ? (column == 2 || column == 3) : column == 1;
    return (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

CellColour cellColour(int columnCount, int row, QStringView pathCell)
{
    if (row == 0)
        return CellColour::Header;
    if (viewFor(columnCount) != View::Report && isZipMemberPath(pathCell))
        return CellColour::ZipMember;
    return CellColour::Normal;
}

bool isZipMemberPath(QStringView path)
{
    return path.contains(QLatin1String(".ZIP")) || path.contains(QLatin1String(".zip"));
}

bool isZipFileName(QStringView name)
{
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        const QChar c = name[i];
        if (c == u'/' || c == u'\\' || c == u':')
            return false;
        if (c == u'.')
            return name.mid(i).toString().toUpper() == QLatin1String(".ZIP");
    }
    return false;
}

QString hint(const QString &text)
{
    if (text.isEmpty() || text == QLatin1String(" "))
        return QString();
    if (text.size() <= kHintLimit)
        return text;
    qsizetype cut = kHintCut;
    // Never end the hint with half of a surrogate pair.
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QLatin1String("...");
}

bool isEditable(int columnCount, int column, int row)
{
    if (row < 1 || column >= columnCount)
        return false;
    switch (viewFor(columnCount)) {
    case View::Catalog:
        return column == 4;
    case View::Report:
        return column == ReportCommentColumn;
    case View::Result:
        break;
    }
    return false;
}

bool editChangesCatalog(int columnCount)
{
    return columnCount == CatalogColumnCount;
}

SortKind sortKind(int columnCount, int column)
{
    if (viewFor(columnCount) == View::Report)
        return SortKind::TextByCode;
    if (column == 1)
        return SortKind::Size;
    return column == 2 ? SortKind::Date : SortKind::TextNoCase;
}

bool canSortByClick(int tableRowCount)
{
    return tableRowCount >= 3;
}

bool isCommentColumn(int column)
{
    return column == 4 || column == ReportCommentColumn;
}

bool isJumpLetter(QChar key)
{
    const char16_t c = key.unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool startsWithLetter(QStringView text, QChar letter)
{
    if (!isJumpLetter(letter) || text.isEmpty())
        return false;
    const char16_t upper = letter.unicode() & ~0x20;
    const char16_t first = text.front().unicode();
    return first == upper || first == (upper | 0x20);
}

bool deleteAllowed(int columnCount)
{
    return viewFor(columnCount) != View::Report;
}

} // namespace TableRules
