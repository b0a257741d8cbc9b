#pragma once

#include "TableRules.h"

#include <QList>
#include <QString>

#include <vector>

class DateKeyReader;
class Utf8Rows;

// Orders the table's rows (comma-text lines) by one column. Each sort reads
// every row's cell once into a compact key (a number, a date key, or a
// folded prefix with a view of the text), then sorts the keys, so a million
// rows never parse a line inside a comparison.
//
// Every comparison is a strict weak order, which std::sort needs:
// - sizes: an empty text is 0; a text that is not a whole decimal number
//   sorts before every number, and such texts rank equal among themselves;
// - dates: a text that is not a date sorts before every date;
// - text ignoring case: by upper-cased characters, and texts that differ
//   only in case by their own character codes;
// - report text: by character code.
// Rows of equal keys keep their order in either direction, so sorting is
// repeatable.
namespace RowOrder {

// The rows in their new order: element i is the old index of the row that
// moves to position i. The order is that of the rows' UTF-16 text, though
// they are read as UTF-8.
std::vector<int> order(const Utf8Rows &rows, int column, TableRules::SortKind kind, bool descending,
                       const DateKeyReader &dates);
// The same for lines held as QString (encoded once for the sort).
std::vector<int> order(const QList<QString> &rows, int column, TableRules::SortKind kind, bool descending,
                       const DateKeyReader &dates);

// The comparison of two single cells, for checks and callers that do not
// sort whole columns: negative, zero or positive.
int compareCells(const QString &a, const QString &b, TableRules::SortKind kind, const DateKeyReader &dates);

} // namespace RowOrder
