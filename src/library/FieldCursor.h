#pragma once

#include <QByteArrayView>
#include <QStringView>

// Where a field lies in its line.
struct FieldSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    // The field holds doubled quotes that stand for one quote each.
    bool escaped = false;
};

// Walks the fields of a comma-text line left to right: the one reading of
// the comma-text rules that CommaText::split and every field reader share.
// The line is text (QStringView) or UTF-8 (QByteArrayView); every character
// the rules look at is ASCII, so on UTF-8 byte offsets stand in for
// character offsets and the bytes of other characters stay inside a field.
template <typename View>
class FieldCursor
{
public:
    explicit FieldCursor(View line);
    // The next field's span; false at the end of the line.
    bool next(FieldSpan &span);

    // Finds field k; false when the line has fewer fields.
    static bool find(View line, int k, FieldSpan &span);
    static int count(View line);

private:
    View m_line;
    qsizetype m_pos = 0;
};

extern template class FieldCursor<QStringView>;
extern template class FieldCursor<QByteArrayView>;
