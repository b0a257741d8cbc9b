#include "RowWriter.h"

#include "TerminalText.h"

#include "library/CellFields.h"
#include "library/DateFormats.h"
#include "library/SortedLineList.h"
#include "library/Utf8Fields.h"

#include <QIODevice>

#include <cstring>

#include <type_traits>

std::optional<RowWriter::Format> RowWriter::parseFormat(const QString &text)
{
    if (text == QLatin1String("tsv"))
        return Format::Tsv;
    if (text == QLatin1String("csv"))
        return Format::Csv;
    if (text == QLatin1String("json"))
        return Format::Json;
    return std::nullopt;
}

RowWriter::RowWriter(QTextStream &out, Format format, const QStringList &columns, bool forTerminal,
                     const DateFormats *dates)
    : m_out(out), m_format(format), m_columns(columns), m_forTerminal(forTerminal), m_dates(dates)
{}

QString RowWriter::shown(const QString &field) const
{
    return m_forTerminal ? TerminalText::visible(field) : field;
}

RowWriter::~RowWriter()
{
    finish();
}

void RowWriter::write(const QStringList &fields)
{
    QList<Field> row;
    row.reserve(fields.size());
    for (const QString &field : fields)
        row.append(Field{field, {}, false});
    writeRow(row);
}

// The fields of a comma-text line are views of the line; only a field whose
// quotes were doubled is copied, undoubled, into a list whose items' data
// stay put as it grows.
template <typename Cursor, typename View, typename Unescape>
void RowWriter::writeCommaFields(View line, Unescape unescape)
{
    QList<Field> row;
    QList<decltype(unescape(line, CellFields::Span()))> unescaped;
    Cursor cursor(line);
    CellFields::Span span;
    while (row.size() < m_columns.size() && cursor.next(span)) {
        View field = line.sliced(span.start, span.length);
        if (span.escaped) {
            unescaped.append(unescape(line, span));
            field = unescaped.constLast();
        }
        if constexpr (std::is_same_v<View, QByteArrayView>)
            row.append(Field{{}, field, true});
        else
            row.append(Field{field, {}, false});
    }
    writeRow(row);
}

void RowWriter::writeCommaLine(QByteArrayView line)
{
    if (m_format == Format::Tsv && !m_forTerminal && writeTsvBytes(line))
        return;
    writeCommaFields<Utf8Fields::Cursor>(
        line, [](QByteArrayView l, const CellFields::Span &span) { return Utf8Fields::bytes(l, span); });
}

void RowWriter::writeCommaLine(QStringView line)
{
    writeCommaFields<CellFields::Cursor>(
        line, [](QStringView l, const CellFields::Span &span) { return CellFields::text(l, span); });
}

namespace {

bool isTsvEscaped(char c)
{
    return c == '\\' || c == '\t' || c == '\n' || c == '\r';
}

// The first byte from p on that tsvField escapes, or end. Eight bytes are
// looked at a step: a word with no byte below 14 and no backslash holds
// none of them, and most words of a field are such.
const char *nextTsvEscaped(const char *p, const char *end)
{
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, sizeof word);
        const quint64 backslashes = word ^ (ones * '\\');
        const bool suspect = (((word - ones * 14) & ~word) | ((backslashes - ones) & ~backslashes)) & highs;
        if (!suspect)
            continue;
        for (int k = 0; k < 8; ++k) {
            if (isTsvEscaped(p[k]))
                return p + k;
        }
    }
    while (p < end && !isTsvEscaped(*p))
        ++p;
    return p;
}

// Writes field at out with the escapes of tsvField; gives the end written.
// out has room for twice the field.
char *copyTsvEscaped(char *out, QByteArrayView field)
{
    const char *p = field.data();
    const char *const end = p + field.size();
    for (;;) {
        const char *escaped = nextTsvEscaped(p, end);
        std::memcpy(out, p, size_t(escaped - p));
        out += escaped - p;
        if (escaped == end)
            return out;
        *out++ = '\\';
        *out++ = *escaped == '\\' ? '\\' : *escaped == '\t' ? 't' : *escaped == '\n' ? 'n' : 'r';
        p = escaped + 1;
    }
}

} // namespace

// A TSV row made from the line's bytes as they are, without decoding each
// field: the rows of a large search are written many times faster. Lines
// the stream's decoding could alter (a lone surrogate's form, a leading
// byte order mark) take the general way.
// The row is made at the end of the pending bytes, which go to the stream's
// device a block at a time: the stream would decode every row to UTF-16 and
// encode it again. Bytes it would have written otherwise (not UTF-8) take
// the general way.
bool RowWriter::writeTsvBytes(QByteArrayView line)
{
    if (SortedLineList::holdsLoneSurrogate(line))
        return false;
    const qsizetype start = m_bytes.size();
    // Room for every byte escaped, the tabs and the line feed.
    m_bytes.resize(start + 2 * line.size() + m_columns.size() + 1);
    char *out = m_bytes.data() + start;
    Utf8Fields::Cursor cursor(line);
    CellFields::Span span;
    qsizetype column = 0;
    for (; column < m_columns.size() && cursor.next(span); ++column) {
        if (column > 0)
            *out++ = '\t';
        if (span.escaped)
            out = copyTsvEscaped(out, Utf8Fields::bytes(line, span));
        else
            out = copyTsvEscaped(out, line.sliced(span.start, span.length));
    }
    for (; column < m_columns.size(); ++column) {
        if (column > 0)
            *out++ = '\t';
    }
    *out++ = '\n';
    m_bytes.truncate(out - m_bytes.constData());
    const QByteArrayView row = QByteArrayView(m_bytes).sliced(start);
    if (row.startsWith("\xEF\xBB\xBF") || !row.isValidUtf8()) {
        m_bytes.truncate(start);
        return false;
    }
    m_started = true;
    m_anyRow = true;
    if (m_bytes.size() >= kByteBlock)
        writePendingBytes();
    return true;
}

void RowWriter::writePendingBytes()
{
    if (m_bytes.isEmpty())
        return;
    // The stream would only encode them back into the same bytes, unless it
    // writes another encoding or still owes a byte order mark.
    QIODevice *device = m_out.device();
    if (device && m_out.encoding() == QStringConverter::Utf8 && !m_out.generateByteOrderMark()) {
        m_out.flush();
        device->write(m_bytes);
    } else {
        m_out << m_bytes;
    }
    m_bytes.resize(0);
}

void RowWriter::writeRow(const QList<Field> &fields)
{
    writePendingBytes();
    if (!m_started && m_format == Format::Csv)
        writeCsvRow(m_columns);
    m_started = true;
    if (m_format == Format::Json)
        m_out << (m_anyRow ? ",\n  {" : "[\n  {");
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        writeField(i, fields.value(i));
    m_out << (m_format == Format::Tsv ? "\n" : m_format == Format::Csv ? "\r\n" : "}");
    m_anyRow = true;
}

namespace {

constexpr qsizetype kPiece = 1 << 16;

// Hands a field's text to take in pieces of at most about kPiece
// characters, never parting a surrogate pair or a UTF-8 sequence.
template <typename Take>
void forEachPiece(QStringView text, QByteArrayView utf8, bool isUtf8, Take take)
{
    if (!isUtf8) {
        while (!text.isEmpty()) {
            qsizetype size = qMin(text.size(), kPiece);
            if (size < text.size() && text[size - 1].isHighSurrogate())
                --size;
            take(text.first(size));
            text = text.sliced(size);
        }
        return;
    }
    while (!utf8.isEmpty()) {
        qsizetype size = qMin(utf8.size(), kPiece);
        while (size < utf8.size() && size > 1 && (uchar(utf8[size]) & 0xC0) == 0x80)
            --size;
        take(QStringView(SortedLineList::decode(utf8.first(size))));
        utf8 = utf8.sliced(size);
    }
}

bool needsCsvQuotes(QStringView text)
{
    return text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
}

bool needsCsvQuotes(QByteArrayView utf8)
{
    return utf8.contains(',') || utf8.contains('"') || utf8.contains('\n') || utf8.contains('\r');
}

// text with each character that escape() gives an escape for replaced by
// it; the runs between are copied whole. Every escaped character is a
// backslash or below it.
template <typename Escape>
QString escaped(QStringView text, Escape escape)
{
    QString out;
    out.reserve(text.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > u'\\')
            continue;
        const QString replacement = escape(text[i].unicode());
        if (replacement.isNull())
            continue;
        out.append(text.sliced(run, i - run)).append(replacement);
        run = i + 1;
    }
    return out.append(text.sliced(run));
}

QString tsvEscape(char16_t u)
{
    switch (u) {
    case '\\':
        return QStringLiteral("\\\\");
    case '\t':
        return QStringLiteral("\\t");
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    default:
        return QString();
    }
}

QString jsonEscape(char16_t u)
{
    switch (u) {
    case '"':
        return QStringLiteral("\\\"");
    case '\\':
        return QStringLiteral("\\\\");
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    case '\t':
        return QStringLiteral("\\t");
    default:
        return u < 0x20 ? QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')) : QString();
    }
}

// JSON's escapes of text, without the quotes around it.
QString jsonEscaped(QStringView text)
{
    return escaped(text, jsonEscape);
}

enum class JsonKind { Text, Number, Date };

JsonKind jsonKindOf(const QString &column)
{
    if (column == QLatin1String("size") || column == QLatin1String("replacements"))
        return JsonKind::Number;
    if (column == QLatin1String("date") || column == QLatin1String("last_updated"))
        return JsonKind::Date;
    return JsonKind::Text;
}

// A stored date in ISO 8601, with its time when one is stored; empty when
// the text is no date of these formats.
QString isoDate(const QString &text, const DateFormats &formats)
{
    const QDateTime when = QDateTime::fromString(text, formats.shortDate() + u' ' + formats.longTime());
    if (when.isValid())
        return when.toString(Qt::ISODate);
    const QDate day = QDate::fromString(text, formats.shortDate());
    return day.isValid() ? day.toString(Qt::ISODate) : QString();
}

// A count as a JSON number: digits only, without leading zeros; empty when
// the text is no count.
QString jsonNumber(const QString &text)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    return ok && !text.startsWith(u'+') ? QString::number(value) : QString();
}

} // namespace

// A size, count or date as JSON's own type; false when the field is none
// and goes as a string.
bool RowWriter::writeJsonTyped(qsizetype column, const Field &field)
{
    const JsonKind kind = jsonKindOf(m_columns.at(column));
    // A damaged line may hold anything in a field; only a short one can be
    // a number or a date.
    const qsizetype size = field.isUtf8 ? field.utf8.size() : field.text.size();
    if (kind == JsonKind::Text || size > 64)
        return false;
    const QString text = field.isUtf8 ? QString::fromUtf8(field.utf8) : field.text.toString();
    if (text.isEmpty()) {
        m_out << "null";
        return true;
    }
    const QString typed = kind == JsonKind::Number ? jsonNumber(text)
                          : m_dates                ? jsonString(isoDate(text, *m_dates))
                                                   : QString();
    if (typed.isEmpty() || typed == QLatin1String("\"\""))
        return false;
    m_out << typed;
    return true;
}

void RowWriter::writeField(qsizetype column, const Field &field)
{
    bool quoted = false;
    switch (m_format) {
    case Format::Tsv:
        if (column > 0)
            m_out << '\t';
        break;
    case Format::Csv:
        if (column > 0)
            m_out << ',';
        quoted = field.isUtf8 ? needsCsvQuotes(field.utf8) : needsCsvQuotes(field.text);
        break;
    case Format::Json:
        m_out << (column > 0 ? ", " : "") << jsonString(m_columns.at(column)) << ": ";
        if (writeJsonTyped(column, field))
            return;
        quoted = true;
        break;
    }
    if (quoted)
        m_out << '"';
    forEachPiece(field.text, field.utf8, field.isUtf8, [&](QStringView piece) {
        switch (m_format) {
        case Format::Tsv:
            m_out << shown(tsvField(piece));
            break;
        case Format::Csv:
            if (quoted)
                m_out << shown(piece.toString().replace(QLatin1String("\""), QLatin1String("\"\"")));
            else
                m_out << shown(piece.toString());
            break;
        case Format::Json:
            m_out << shown(jsonEscaped(piece));
            break;
        }
    });
    if (quoted)
        m_out << '"';
}

void RowWriter::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    writePendingBytes();
    // An empty CSV still names its columns, so a reader knows them.
    if (m_format == Format::Csv && !m_started)
        writeCsvRow(m_columns);
    if (m_format == Format::Json)
        m_out << (m_anyRow ? "\n]\n" : "[]\n");
    m_out.flush();
}

void RowWriter::writeCsvRow(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_out << ',';
        m_out << shown(csvField(fields.at(i)));
    }
    m_out << "\r\n";
}

QString RowWriter::tsvField(QStringView field)
{
    return escaped(field, tsvEscape);
}

QString RowWriter::csvField(QStringView field)
{
    if (!needsCsvQuotes(field))
        return field.toString();
    QString text = field.toString();
    text.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + text + u'"';
}

QString RowWriter::jsonString(QStringView text)
{
    return u'"' + jsonEscaped(text) + u'"';
}
