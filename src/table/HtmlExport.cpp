#include "HtmlExport.h"

#include "TableRules.h"

#include "library/ControlPictures.h"

#include <algorithm>

namespace {

constexpr qsizetype kPieceSize = 1 << 19;

bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'&' && c != u'<' && c != u'>' && c != u'"';
}

void appendEscaped(char32_t c, QString &out)
{
    // HTML allows no control characters: they are shown as their pictures.
    if (ControlPictures::isControl(c)) {
        const QString picture = ControlPictures::visible(QString(QChar(char16_t(c))));
        for (const QChar p : picture)
            appendEscaped(p.unicode(), out);
        return;
    }
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
    if (c < 0x80) {
        out += QChar(char16_t(c));
        return;
    }
    out += QLatin1String("&#");
    out += QString::number(quint32(c));
    out += u';';
}

// Walks code points, so a character beyond the basic plane becomes one
// reference rather than two halves. A stray half is written as the
// replacement character, since a reference to a surrogate is not allowed.
template <typename Write>
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

void appendCellText(QString &out, QStringView text)
{
    if (text.isEmpty()) {
        out += QLatin1String("<br>");
        return;
    }
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return isPlain(c.unicode()); })) {
        out += text;
        return;
    }
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
}

QLatin1String alignmentAttribute(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QLatin1String(" align=\"right\"");
    if (alignment & Qt::AlignHCenter)
        return QLatin1String(" align=\"center\"");
    return QLatin1String();
}

QString backgroundAttribute(quint32 rgb)
{
    return QStringLiteral(" BGCOLOR=\"%1\"").arg(HtmlExport::colour(rgb));
}

// The parts of a data cell's line around its alignment and its text.
struct CellWrapper {
    QString attributes;
    QString opening;
    QString closing;

    explicit CellWrapper(const CellStyle &style)
    {
        if (style.background)
            attributes = backgroundAttribute(*style.background);
        if (style.text)
            opening = QStringLiteral("<font color=\"%1\">").arg(HtmlExport::colour(*style.text));
        if (style.bold)
            opening += QLatin1String("<B>");
        if (style.italic)
            opening += QLatin1String("<I>");
        if (style.italic)
            closing += QLatin1String("</I>");
        if (style.bold)
            closing += QLatin1String("</B>");
        if (style.text)
            closing += QLatin1String("</font>");
    }
};

void appendDataCell(QString &out, QStringView text, Qt::Alignment alignment, const CellWrapper &wrapper)
{
    out += QLatin1String("<td nowrap");
    out += alignmentAttribute(alignment);
    out += wrapper.attributes;
    out += u'>';
    out += wrapper.opening;
    appendCellText(out, text);
    out += wrapper.closing;
    out += QLatin1String("</td>");
}

void appendHeaderCell(QString &out, QStringView text)
{
    out += QLatin1String("<td nowrap");
    out += backgroundAttribute(HtmlExport::kHeaderBackground);
    out += QLatin1String("><B>");
    appendCellText(out, text);
    out += QLatin1String("</B></td>");
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
void appendRow(const QStringList &cells, int row, QString &out)
{
    const int columns = int(cells.size());
    out += QLatin1String("<tr>\r\n");
    if (row == 0) {
        for (const QString &text : cells) {
            appendHeaderCell(out, text);
            out += QLatin1String("\r\n");
        }
    } else {
        const QString path = cells.value(3);
        const CellWrapper wrapper(CellStyle::of(TableRules::cellColour(columns, row, path)));
        for (int column = 0; column < columns; ++column) {
            appendDataCell(out, cells.at(column), TableRules::alignment(columns, column, row), wrapper);
            out += QLatin1String("\r\n");
        }
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
    QString out;
    appendCellText(out, text);
    return out;
}

QString headerCellLine(QStringView text)
{
    QString out;
    appendHeaderCell(out, text);
    return out;
}

QString dataCellLine(QStringView text, Qt::Alignment alignment, const CellStyle &style)
{
    QString out;
    appendDataCell(out, text, alignment, CellWrapper(style));
    return out;
}

bool write(const TableCells &table, const QString &title, const ByteSink &sink)
{
    QString text = QLatin1String("<HTML>\r\n<HEAD>\r\n") + titleLine(title) +
                   QLatin1String("\r\n</HEAD>\r\n<BODY>\r\n<table border=1>\r\n");
    // Every line is ASCII by now, so Latin-1 is its UTF-8 too.
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        table.readRow(row, cells);
        appendRow(cells, row, text);
        if (text.size() >= kPieceSize) {
            if (!sink(text.toLatin1()))
                return false;
            text.truncate(0); // keeps the buffer for the next piece
        }
    }
    text += QLatin1String("</table>\r\n</BODY>\r\n</HTML>\r\n");
    return sink(text.toLatin1());
}

QByteArray page(const TableCells &table, const QString &title)
{
    QByteArray bytes;
    write(table, title, [&bytes](const QByteArray &piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}

} // namespace HtmlExport
