#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// The fields of one comma-text line as views, parsed by the same rules as
// CommaText::split but without building a string per field. Meant to be
// reused line after line: once its buffers have grown, parsing a line
// allocates nothing. A quoted field holding a doubled quote is unescaped
// into a buffer of its own; every other field is a view into the line.
class LineFields
{
public:
    // The views stay valid until the next parse() and while line lives.
    void parse(QStringView line);

    int count() const { return m_count; }
    // Field k, or an empty view when the line has fewer fields.
    QStringView field(int k) const { return k < m_count ? m_fields[size_t(k)] : QStringView(); }

private:
    void append(QStringView field);
    QStringView unescape(QStringView quoted);

    std::vector<QStringView> m_fields;
    std::vector<QString> m_unescaped;
    int m_count = 0;
    int m_unescapedUsed = 0;
};
