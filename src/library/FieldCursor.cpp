#include "FieldCursor.h"

#include "CommaText.h"

#include <cstring>

namespace {

inline char16_t unitAt(QStringView line, qsizetype i)
{
    return line[i].unicode();
}

inline char16_t unitAt(QByteArrayView line, qsizetype i)
{
    return uchar(line[i]);
}

// The first quote from i on, or the line's size.
inline qsizetype quoteFrom(QStringView line, qsizetype i)
{
    const qsizetype at = line.indexOf(u'"', i);
    return at >= 0 ? at : line.size();
}

// memchr looks at many bytes a step: most of a line's bytes are inside quotes.
inline qsizetype quoteFrom(QByteArrayView line, qsizetype i)
{
    const auto *at = static_cast<const char *>(std::memchr(line.data() + i, '"', size_t(line.size() - i)));
    return at ? at - line.data() : line.size();
}

inline qsizetype nulAt(QStringView line)
{
    return line.indexOf(QChar(u'\0'));
}

inline qsizetype nulAt(QByteArrayView line)
{
    return line.indexOf('\0');
}

template <typename View>
qsizetype skipBlanks(View line, qsizetype pos)
{
    while (pos < line.size() && CommaText::isBlank(QChar(unitAt(line, pos))))
        ++pos;
    return pos;
}

} // namespace

template <typename View>
FieldCursor<View>::FieldCursor(View line)
{
    // A NUL ends the text, as it does in the files.
    const qsizetype nul = nulAt(line);
    m_line = nul >= 0 ? line.first(nul) : line;
    m_pos = skipBlanks(m_line, 0);
}

template <typename View>
bool FieldCursor<View>::next(FieldSpan &span)
{
    if (m_pos >= m_line.size())
        return false;
    span = FieldSpan();
    qsizetype p = m_pos;
    if (unitAt(m_line, p) == u'"') {
        // A quoted field ends at a quote not doubled; unclosed, it takes the rest.
        span.start = ++p;
        qsizetype end = m_line.size();
        while ((p = quoteFrom(m_line, p)) < m_line.size()) {
            if (p + 1 < m_line.size() && unitAt(m_line, p + 1) == u'"') {
                span.escaped = true;
                p += 2;
                continue;
            }
            end = p++;
            break;
        }
        span.length = end - span.start;
    } else {
        span.start = p;
        while (p < m_line.size() && unitAt(m_line, p) > 32 && unitAt(m_line, p) != u',')
            ++p;
        span.length = p - span.start;
    }
    m_pos = skipBlanks(m_line, p);
    if (m_pos < m_line.size() && unitAt(m_line, m_pos) == u',')
        m_pos = skipBlanks(m_line, m_pos + 1);
    return true;
}

template <typename View>
bool FieldCursor<View>::find(View line, int k, FieldSpan &span)
{
    FieldCursor cursor(line);
    for (int i = 0; cursor.next(span); ++i) {
        if (i == k)
            return true;
    }
    return false;
}

template <typename View>
int FieldCursor<View>::count(View line)
{
    FieldCursor cursor(line);
    FieldSpan span;
    int n = 0;
    while (cursor.next(span))
        ++n;
    return n;
}

template class FieldCursor<QStringView>;
template class FieldCursor<QByteArrayView>;
