#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <Qt>

// The display, editing and key rules of the Visual Table, kept free of any
// widget so the view stays thin and the rules can be tested alone. The
// meaning of a column comes from the table's column count, which differs
// for each layout.
namespace TableRules {

enum class View { Catalog, Result, Report };

constexpr int CatalogColumnCount = 5;
constexpr int ResultColumnCount = 6;
// The report: name, type, total and free space, directory, last update and
// comment, then the label and UUID of the catalog's medium. The comment
// stays column 6 whatever follows it.
constexpr int ReportColumnCount = 9;
constexpr int ReportCommentColumn = 6;

// Which stored column widths a layout uses: Colsizes for the catalog and
// the results, Reportcolsizes for the report, none for any other table.
enum class WidthSet { None, Catalog, Report };

// How a cell is coloured; the program maps these to its colours (the
// header blue with bold yellow text, ZIP members aqua with black text).
enum class CellColour { Normal, ZipMember, Header };

enum class SortKind { Size, Date, TextNoCase, TextByCode };

// Only the report's own column count is the report, so no other table
// can take the report's rules; six columns are the result view, any other
// count the catalog view.
View viewFor(int columnCount);
QStringList titles(View view);
WidthSet widthSet(int columnCount);

Qt::Alignment alignment(int columnCount, int column, int row);

// Colour of a data or title cell; pathCell is the row's "File Path" text.
CellColour cellColour(int columnCount, int row, QStringView pathCell);
// Members listed from inside a ZIP file carry its name in their path; only
// the all-upper and all-lower spellings count.
bool isZipMemberPath(QStringView path);
// The extension of the name from its last dot is ".ZIP" in upper case; a
// separator after the last dot means there is no extension.
bool isZipFileName(QStringView name);

// The cell's own hint, or an empty text when the table's hint applies.
QString hint(const QString &text);

bool isEditable(int columnCount, int column, int row);
// Editing a comment in the catalog view leaves the catalog with unsaved
// changes; the report's comments are not stored anywhere.
bool editChangesCatalog(int columnCount);

SortKind sortKind(int columnCount, int column);
// Sorting by a header click needs two data rows (three rows with titles).
bool canSortByClick(int tableRowCount);

// Enter and the letter keys act unless the selected cell is a comment.
bool isCommentColumn(int column);
bool isJumpLetter(QChar key);
bool startsWithLetter(QStringView text, QChar letter);
// The Delete key removes rows only outside the report.
bool deleteAllowed(int columnCount);

} // namespace TableRules
