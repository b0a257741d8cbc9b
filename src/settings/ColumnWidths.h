#pragma once

#include <QList>

class SettingsFile;

// Column widths in pixels: Colsizes (catalog and result tables, Col0-Col5)
// and Reportcolsizes (the report, Col0-Col6). A missing or non-numeric
// width is 100, or the value given for it.
namespace ColumnWidths {

constexpr int DefaultWidth = 100;

QList<int> readCatalog(const SettingsFile &settings, int missing = DefaultWidth);
QList<int> readReport(const SettingsFile &settings);
// Width of one column for a table of columnCount columns ("Resize Selected
// Column To Default"): Colsizes for five or six, Reportcolsizes for more.
int readOne(const SettingsFile &settings, int columnCount, int column);
// Writes Col0.. for the widths given; seven columns go to Reportcolsizes,
// five or six to Colsizes, any other count writes nothing.
bool save(SettingsFile &settings, const QList<int> &widths);

} // namespace ColumnWidths
