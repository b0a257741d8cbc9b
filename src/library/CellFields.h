#pragma once

#include <QString>
#include <QStringView>

// Reads single fields of a comma-text line in place, by the same rules as
// CommaText::split but without building the whole field list. The table
// keeps each row as its line and reads cells from it on demand, so a
// million rows cost one string each.
namespace CellFields {

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    // The field holds doubled quotes that stand for one quote each.
    bool escaped = false;
};

// Walks the fields of a line left to right: the one reading of the
// comma-text rules that CommaText::split and every field reader share.
class Cursor
{
public:
    explicit Cursor(QStringView line);
    // The next field's span; false at the end of the line.
    bool next(Span &span);

private:
    QStringView m_line;
    qsizetype m_pos = 0;
};

// Finds field k; false when the line has fewer fields.
bool find(QStringView line, int k, Span &span);
// The text of field k (empty when absent).
QString text(QStringView line, int k);
// The text of a span found in line.
QString text(QStringView line, const Span &span);
int count(QStringView line);
// A line with no field is empty or blank (up to a NUL, which ends it).
bool hasFields(QStringView line);

} // namespace CellFields
