#include "LineFields.h"

#include "library/CellFields.h"

void LineFields::append(QStringView field)
{
    if (size_t(m_count) < m_fields.size())
        m_fields[size_t(m_count)] = field;
    else
        m_fields.push_back(field);
    ++m_count;
}

QStringView LineFields::unescape(QStringView quoted)
{
    if (size_t(m_unescapedUsed) == m_unescaped.size())
        m_unescaped.emplace_back();
    QString &out = m_unescaped[size_t(m_unescapedUsed++)];
    out.resize(0);
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        out += quoted[i];
        if (quoted[i] == u'"')
            ++i; // the second quote of a pair
    }
    return out;
}

void LineFields::parse(QStringView line)
{
    m_count = 0;
    m_unescapedUsed = 0;
    CellFields::Cursor cursor(line);
    CellFields::Span span;
    while (cursor.next(span)) {
        const QStringView text = line.mid(span.start, span.length);
        append(span.escaped ? unescape(text) : text);
    }
}
