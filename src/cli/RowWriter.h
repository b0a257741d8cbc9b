#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <QTextStream>

#include <optional>

class DateFormats;

// Writes a command's rows in the format a script asked for. Every row has
// the writer's columns, whatever its fields hold:
// - tsv: no header, fields joined by tabs, rows ended by LF; a backslash,
//   tab, LF and CR inside a field are written as \\, \t, \n and \r;
// - csv: a header row of the column names, then RFC 4180 rows ended by
//   CR LF; a field holding a comma, quote, CR or LF is quoted, its quotes
//   doubled;
// - json: one array of objects keyed by the column names, in column order,
//   for programs: a size or count (columns size and replacements) is a
//   number, a date (date, last_updated) is ISO 8601 ("2026-04-27T20:14:32",
//   the date alone when no time is stored), either is null when empty; a
//   value that is not what its column holds stays a string as stored.
// For a terminal, control characters left in the fields are shown visibly
// (TerminalText); the separators and line ends stay as they are.
class RowWriter
{
public:
    enum class Format { Tsv, Csv, Json };

    // "tsv", "csv" or "json"; nothing for any other text.
    static std::optional<Format> parseFormat(const QString &text);

    // dates reads the stored dates for JSON; without it they stay as stored.
    RowWriter(QTextStream &out, Format format, const QStringList &columns, bool forTerminal = false,
              const DateFormats *dates = nullptr);
    ~RowWriter();

    // Missing fields are written empty, fields beyond the columns are dropped.
    void write(const QStringList &fields);
    // The same for the fields of a comma-text line held as UTF-8, as the
    // compact line lists hold them. Each field is decoded and written piece
    // by piece, so a huge line is never held as text.
    void writeCommaLine(QByteArrayView line);
    // The same for a line held as text; only a field with doubled quotes
    // is copied.
    void writeCommaLine(QStringView line);
    // Ends the output (the JSON array's bracket); called by the destructor
    // when not before.
    void finish();

    static QString tsvField(QStringView field);
    static QString csvField(QStringView field);
    static QString jsonString(QStringView text);

private:
    // A field's text, or its UTF-8 bytes.
    struct Field {
        QStringView text;
        QByteArrayView utf8;
        bool isUtf8 = false;
    };

    template <typename Cursor, typename View, typename Unescape>
    void writeCommaFields(View line, Unescape unescape);
    bool writeTsvBytes(QByteArrayView line);
    void writeRow(const QList<Field> &fields);
    void writeField(qsizetype column, const Field &field);
    void writeCsvRow(const QStringList &fields);
    bool writeJsonTyped(qsizetype column, const Field &field);
    QString shown(const QString &field) const;
    void putBytes(const QByteArray &bytes);
    void flushBytes();

    static constexpr qsizetype kBytesAtOnce = 1 << 20;

    QTextStream &m_out;
    Format m_format;
    QStringList m_columns;
    bool m_forTerminal;
    const DateFormats *m_dates;
    bool m_started = false;
    bool m_finished = false;
    bool m_anyRow = false;
    QByteArray m_row; // kept from row to row
    // Where rows made as bytes go unless the stream must encode them.
    QIODevice *m_device = nullptr;
    QByteArray m_bytes; // such rows not yet written
};
