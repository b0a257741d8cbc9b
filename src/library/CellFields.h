#pragma once

#include "FieldCursor.h"

#include <QString>
#include <QStringView>

// Reads single fields of a comma-text line in place, by the same rules as
// CommaText::split but without building the whole field list. The table
// keeps each row as its line and reads cells from it on demand, so a
// million rows cost one string each.
namespace CellFields {

using Span = FieldSpan;
using Cursor = FieldCursor<QStringView>;

// Finds field k; false when the line has fewer fields.
inline bool find(QStringView line, int k, Span &span)
{
    return Cursor::find(line, k, span);
}
// The text of field k (empty when absent).
QString text(QStringView line, int k);
// The text of a span found in line.
QString text(QStringView line, const Span &span);
inline int count(QStringView line)
{
    return Cursor::count(line);
}
// A line with no field is empty or blank (up to a NUL, which ends it).
bool hasFields(QStringView line);

} // namespace CellFields
