#include "LineFields.h"

#include "library/CommaText.h"

using CommaText::isBlank;
using CommaText::skipBlanks;

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
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    if (nul >= 0)
        line = line.left(nul);
    const qsizetype n = line.size();
    qsizetype pos = skipBlanks(line, 0);
    while (pos < n) {
        if (line[pos] == u'"') {
            const qsizetype start = ++pos;
            bool doubled = false;
            qsizetype end = n;
            while (pos < n) {
                if (line[pos] == u'"') {
                    if (pos + 1 < n && line[pos + 1] == u'"') {
                        doubled = true;
                        pos += 2;
                        continue;
                    }
                    end = pos++;
                    break;
                }
                ++pos;
            }
            // An unclosed quote takes the rest of the line (end stays n).
            const QStringView text = line.mid(start, end - start);
            append(doubled ? unescape(text) : text);
        } else {
            const qsizetype start = pos;
            while (pos < n && line[pos].unicode() > 32 && line[pos] != u',')
                ++pos;
            append(line.mid(start, pos - start));
        }
        pos = skipBlanks(line, pos);
        if (pos < n && line[pos] == u',')
            pos = skipBlanks(line, pos + 1);
    }
}
