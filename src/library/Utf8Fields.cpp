#include "Utf8Fields.h"

namespace Utf8Fields {

namespace {

bool isBlank(char c)
{
    return c >= 1 && c <= 32;
}

qsizetype skipBlanks(QByteArrayView line, qsizetype pos)
{
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    return pos;
}

} // namespace

Cursor::Cursor(QByteArrayView line)
{
    // A NUL ends the text, as it does in the files.
    const qsizetype nul = line.indexOf('\0');
    m_line = nul >= 0 ? line.first(nul) : line;
    m_pos = skipBlanks(m_line, 0);
}

bool Cursor::next(Span &span)
{
    if (m_pos >= m_line.size())
        return false;
    span = Span();
    qsizetype p = m_pos;
    if (m_line[p] == '"') {
        // A quoted field ends at a quote not doubled; unclosed, it takes the rest.
        span.start = ++p;
        qsizetype end = m_line.size();
        while (p < m_line.size()) {
            if (m_line[p] != '"') {
                ++p;
                continue;
            }
            if (p + 1 < m_line.size() && m_line[p + 1] == '"') {
                span.escaped = true;
                p += 2;
                continue;
            }
            end = p++;
            break;
        }
        span.length = end - span.start;
    } else {
        // Bytes of non-ASCII characters are all above 127, so they stay inside the field.
        span.start = p;
        while (p < m_line.size() && uchar(m_line[p]) > 32 && m_line[p] != ',')
            ++p;
        span.length = p - span.start;
    }
    m_pos = skipBlanks(m_line, p);
    if (m_pos < m_line.size() && m_line[m_pos] == ',')
        m_pos = skipBlanks(m_line, m_pos + 1);
    return true;
}

bool find(QByteArrayView line, int k, Span &span)
{
    Cursor cursor(line);
    for (int i = 0; cursor.next(span); ++i) {
        if (i == k)
            return true;
    }
    return false;
}

QString text(QByteArrayView line, const Span &span)
{
    QString out = QString::fromUtf8(line.sliced(span.start, span.length));
    if (span.escaped)
        out.replace(QLatin1String("\"\""), QLatin1String("\""));
    return out;
}

QString text(QByteArrayView line, int k)
{
    Span span;
    return find(line, k, span) ? text(line, span) : QString();
}

int count(QByteArrayView line)
{
    Cursor cursor(line);
    Span span;
    int n = 0;
    while (cursor.next(span))
        ++n;
    return n;
}

QByteArray bytes(QByteArrayView line, const Span &span)
{
    QByteArray out = line.sliced(span.start, span.length).toByteArray();
    if (span.escaped)
        out.replace("\"\"", "\"");
    return out;
}

} // namespace Utf8Fields
