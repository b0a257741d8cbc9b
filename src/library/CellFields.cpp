#include "CellFields.h"

#include "CommaText.h"

using CommaText::isBlank;
using CommaText::skipBlanks;

namespace CellFields {

Cursor::Cursor(QStringView line)
{
    // A NUL ends the text, as it does in the files.
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    m_line = nul >= 0 ? line.left(nul) : line;
    m_pos = skipBlanks(m_line, 0);
}

bool Cursor::next(Span &span)
{
    if (m_pos >= m_line.size())
        return false;
    span = Span();
    qsizetype p = m_pos;
    if (m_line[p] == u'"') {
        // A quoted field ends at a quote not doubled; unclosed, it takes the rest.
        span.start = ++p;
        qsizetype end = m_line.size();
        while (p < m_line.size()) {
            if (m_line[p] != u'"') {
                ++p;
                continue;
            }
            if (p + 1 < m_line.size() && m_line[p + 1] == u'"') {
                span.escaped = true;
                p += 2;
                continue;
            }
            end = p++;
            break;
        }
        span.length = qMin(end, m_line.size()) - span.start;
    } else {
        span.start = p;
        while (p < m_line.size() && m_line[p].unicode() > 32 && m_line[p] != u',')
            ++p;
        span.length = p - span.start;
    }
    m_pos = skipBlanks(m_line, p);
    if (m_pos < m_line.size() && m_line[m_pos] == u',')
        m_pos = skipBlanks(m_line, m_pos + 1);
    return true;
}

bool find(QStringView line, int k, Span &span)
{
    Cursor cursor(line);
    for (int i = 0; cursor.next(span); ++i) {
        if (i == k)
            return true;
    }
    return false;
}

QString text(QStringView line, const Span &span)
{
    QString out = line.mid(span.start, span.length).toString();
    if (span.escaped)
        out.replace(QLatin1String("\"\""), QLatin1String("\""));
    return out;
}

QString text(QStringView line, int k)
{
    Span span;
    return find(line, k, span) ? text(line, span) : QString();
}

int count(QStringView line)
{
    Cursor cursor(line);
    Span span;
    int n = 0;
    while (cursor.next(span))
        ++n;
    return n;
}

bool hasFields(QStringView line)
{
    for (QChar c : line) {
        if (c.unicode() == 0)
            return false;
        if (!isBlank(c))
            return true;
    }
    return false;
}

} // namespace CellFields
