#pragma once

#include <QList>

class SettingsFile;

// Column widths in pixels: Colsizes (catalog and result tables, Col0-Col5)
// and Reportcolsizes (the report, Col0 onwards, one key per column). A
// missing or non-numeric width is 100, or the value given for it.
namespace ColumnWidths {

constexpr int DefaultWidth = 100;

QList<int> readCatalog(const SettingsFile &settings, int missing = DefaultWidth);
// The report's first count widths; a settings file saved when the report
// had fewer columns gives the default to the others.
QList<int> readReport(const SettingsFile &settings, int count);
// Write Col0.. for the widths given, and only those keys.
bool saveCatalog(SettingsFile &settings, const QList<int> &widths);
bool saveReport(SettingsFile &settings, const QList<int> &widths);

} // namespace ColumnWidths
