#include "table/ClipboardText.h"

namespace ClipboardText {

QString region(const CellReader &cell, int left, int top, int right, int bottom)
{
    QString text;
    if (left > right || top > bottom)
        return text;
    for (int r = top; r <= bottom; ++r) {
        if (r > top)
            text += QLatin1String("\r\n");
        for (int c = left; c <= right; ++c) {
            if (c > left)
                text += u'\t';
            text += cell(c, r);
        }
    }
    return text;
}

QString wholeTable(const CellReader &cell, int columnCount, int rowCount)
{
    return region(cell, 0, 0, columnCount - 1, rowCount - 1);
}

QList<QStringList> pastedLines(QStringView text)
{
    QList<QStringList> lines;
    qsizetype start = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        if (c != u'\r' && c != u'\n') {
            ++at;
            continue;
        }
        lines.append(text.mid(start, at - start).toString().split(u'\t'));
        at += (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ? 2 : 1;
        start = at;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString().split(u'\t'));
    return lines;
}

bool canPaste(int columnCount, int column, int row)
{
    return columnCount == 5 && column == 4 && row >= 1;
}

PastePlan planPaste(QStringView text, int column, int row, int columnCount, int rowCount)
{
    PastePlan plan;
    const QList<QStringList> lines = pastedLines(text);
    const int fieldsThatFit = qMax(0, columnCount - column);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList &fields = lines[i];
        for (qsizetype j = 0; j < qMin<qsizetype>(fields.size(), fieldsThatFit); ++j)
            plan.writes.append({int(column + j), int(row + i), fields[j]});
    }
    plan.rowCount = qMax(rowCount, int(row + lines.size()));
    return plan;
}

} // namespace ClipboardText
