#include "HtmlExport.h"

#include "TableRules.h"

namespace {

void appendEscaped(char32_t c, QString &out)
{
    switch (c) {
    case U'&':
        out += QLatin1String("&amp;");
        return;
    case U'<':
        out += QLatin1String("&lt;");
        return;
    case U'>':
        out += QLatin1String("&gt;");
        return;
    case U'"':
        out += QLatin1String("&quot;");
        return;
    default:
        break;
    }
    if (c < 0x80)
        out += QChar(char16_t(c));
    else
        out += QStringLiteral("&#%1;").arg(quint32(c));
}

// Walks code points, so a character beyond the basic plane becomes one
// reference rather than two halves. A stray half is written as the
// replacement character, since a reference to a surrogate is not allowed.
template<typename Write>
void forEachCodePoint(QStringView text, Write write)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            write(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.isSurrogate()) {
            write(char32_t(QChar::ReplacementCharacter));
        } else {
            write(char32_t(c.unicode()));
        }
    }
}

QString alignmentAttribute(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral(" align=\"right\"");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral(" align=\"center\"");
    return QString();
}

QString backgroundAttribute(quint32 rgb)
{
    return QStringLiteral(" BGCOLOR=\"%1\"").arg(HtmlExport::colour(rgb));
}

// The title sits on one line of the page, so its line breaks become blanks.
QString titleLine(const QString &title)
{
    QString flat = title;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(u'\r', u' ');
    flat.replace(u'\n', u' ');
    return QLatin1String("<TITLE>") + HtmlExport::escaped(flat) + QLatin1String("</TITLE>");
}

// Appends a table row's lines, each ended by CR LF. The colours of a row
// depend on its path cell only, so they are worked out once per row.
void appendRow(const TableCells &table, int row, QString &out)
{
    const int columns = table.columnCount();
    out += QLatin1String("<tr>\r\n");
    const CellStyle style = row == 0 ? CellStyle()
                                     : CellStyle::of(TableRules::cellColour(columns, row, table.cell(3, row)));
    for (int column = 0; column < columns; ++column) {
        const QString text = table.cell(column, row);
        out += row == 0 ? HtmlExport::headerCellLine(text)
                        : HtmlExport::dataCellLine(text, TableRules::alignment(columns, column, row), style);
        out += QLatin1String("\r\n");
    }
    out += QLatin1String("</tr>\r\n");
}

} // namespace

namespace HtmlExport {

QString colour(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    forEachCodePoint(text, [&out](char32_t c) { appendEscaped(c, out); });
    return out;
}

QString cellText(QStringView text)
{
    if (text.isEmpty())
        return QStringLiteral("<br>");
    QString out;
    out.reserve(text.size());
    bool afterCr = false;
    forEachCodePoint(text, [&](char32_t c) {
        if (c == U'\n' && afterCr) {
            afterCr = false;
            return;
        }
        afterCr = c == U'\r';
        if (c == U'\n' || c == U'\r')
            out += QLatin1String("<br>");
        else
            appendEscaped(c, out);
    });
    return out;
}

QString headerCellLine(QStringView text)
{
    return QLatin1String("<td nowrap") + backgroundAttribute(kHeaderBackground) + QLatin1String("><B>")
        + cellText(text) + QLatin1String("</B></td>");
}

QString dataCellLine(QStringView text, Qt::Alignment alignment, const CellStyle &style)
{
    QString line = QLatin1String("<td nowrap") + alignmentAttribute(alignment);
    if (style.background)
        line += backgroundAttribute(*style.background);
    line += u'>';
    QString body = cellText(text);
    if (style.italic)
        body = QLatin1String("<I>") + body + QLatin1String("</I>");
    if (style.bold)
        body = QLatin1String("<B>") + body + QLatin1String("</B>");
    if (style.text)
        body = QStringLiteral("<font color=\"%1\">").arg(colour(*style.text)) + body + QLatin1String("</font>");
    return line + body + QLatin1String("</td>");
}

QByteArray page(const TableCells &table, const QString &title)
{
    QString text = QLatin1String("<HTML>\r\n<HEAD>\r\n") + titleLine(title)
        + QLatin1String("\r\n</HEAD>\r\n<BODY>\r\n<table border=1>\r\n");
    // Every line is ASCII by now, so Latin-1 is its UTF-8 too. Converted in
    // pieces so a large table never holds its whole page twice.
    QByteArray bytes;
    for (int row = 0; row < table.rowCount(); ++row) {
        appendRow(table, row, text);
        if (text.size() >= (1 << 19)) {
            bytes += text.toLatin1();
            text.clear();
        }
    }
    text += QLatin1String("</table>\r\n</BODY>\r\n</HTML>\r\n");
    bytes += text.toLatin1();
    return bytes;
}

} // namespace HtmlExport
