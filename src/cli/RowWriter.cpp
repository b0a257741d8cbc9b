#include "RowWriter.h"

#include "TerminalText.h"

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

RowWriter::RowWriter(QTextStream &out, Format format, const QStringList &columns, bool forTerminal)
    : m_out(out), m_format(format), m_columns(columns), m_forTerminal(forTerminal)
{
}

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
    if (!m_started && m_format == Format::Csv)
        writeCsvRow(m_columns);
    m_started = true;
    const qsizetype count = m_columns.size();
    switch (m_format) {
    case Format::Tsv:
        for (qsizetype i = 0; i < count; ++i)
            m_out << (i > 0 ? "\t" : "") << shown(tsvField(fields.value(i)));
        m_out << '\n';
        break;
    case Format::Csv: {
        QStringList row;
        for (qsizetype i = 0; i < count; ++i)
            row << fields.value(i);
        writeCsvRow(row);
        break;
    }
    case Format::Json:
        m_out << (m_anyRow ? ",\n  {" : "[\n  {");
        for (qsizetype i = 0; i < count; ++i)
            m_out << (i > 0 ? ", " : "") << jsonString(m_columns.at(i)) << ": "
                  << shown(jsonString(fields.value(i)));
        m_out << '}';
        break;
    }
    m_anyRow = true;
}

void RowWriter::finish()
{
    if (m_finished)
        return;
    m_finished = true;
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

QString RowWriter::tsvField(const QString &field)
{
    QString text;
    text.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
        case '\\': text += QLatin1String("\\\\"); break;
        case '\t': text += QLatin1String("\\t"); break;
        case '\n': text += QLatin1String("\\n"); break;
        case '\r': text += QLatin1String("\\r"); break;
        default: text += c;
        }
    }
    return text;
}

QString RowWriter::csvField(const QString &field)
{
    const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
        || field.contains(u'\r');
    if (!quoted)
        return field;
    QString text = field;
    text.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + text + u'"';
}

QString RowWriter::jsonString(const QString &text)
{
    QString json = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\') {
            json += u'\\';
            json += c;
        } else if (u == '\n') {
            json += QLatin1String("\\n");
        } else if (u == '\r') {
            json += QLatin1String("\\r");
        } else if (u == '\t') {
            json += QLatin1String("\\t");
        } else if (u < 0x20) {
            json += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            json += c;
        }
    }
    return json + u'"';
}
