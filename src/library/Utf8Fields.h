#pragma once

#include "FieldCursor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads single fields of a comma-text line held as UTF-8, by the same rules
// as CellFields. Only the field asked for is decoded.
namespace Utf8Fields {

// Spans are byte offsets into the line.
using Span = FieldSpan;
using Cursor = FieldCursor<QByteArrayView>;

// Finds field k; false when the line has fewer fields.
inline bool find(QByteArrayView line, int k, Span &span)
{
    return Cursor::find(line, k, span);
}
// The text of field k (empty when absent).
QString text(QByteArrayView line, int k);
// The text of a span found in line.
QString text(QByteArrayView line, const Span &span);
inline int count(QByteArrayView line)
{
    return Cursor::count(line);
}
// The field's UTF-8 bytes with doubled quotes made single.
QByteArray bytes(QByteArrayView line, const Span &span);

} // namespace Utf8Fields
