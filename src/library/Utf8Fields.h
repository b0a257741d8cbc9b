#pragma once

#include "CellFields.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads single fields of a comma-text line held as UTF-8, by the same rules
// as CellFields (every character the rules look at is ASCII, so byte
// offsets stand in for character offsets). Only the field asked for is
// decoded.
namespace Utf8Fields {

// Spans are byte offsets into the line.
using Span = CellFields::Span;

class Cursor
{
public:
    explicit Cursor(QByteArrayView line);
    // The next field's span; false at the end of the line.
    bool next(Span &span);

private:
    QByteArrayView m_line;
    qsizetype m_pos = 0;
};

// Finds field k; false when the line has fewer fields.
bool find(QByteArrayView line, int k, Span &span);
// The text of field k (empty when absent).
QString text(QByteArrayView line, int k);
// The text of a span found in line.
QString text(QByteArrayView line, const Span &span);
int count(QByteArrayView line);
// The field's UTF-8 bytes with doubled quotes made single.
QByteArray bytes(QByteArrayView line, const Span &span);

} // namespace Utf8Fields
