#pragma once

#include "PrintOptions.h"
#include "TableCells.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Printing the table to a PDF file, on A4 paper with a 10 mm border standing
// in for a printer's unprintable edge. Needs a QGuiApplication (fonts), but
// no display.
namespace PdfPrint {

constexpr double kPageMarginMm = 10;

QByteArray document(const TableCells &cells, const QList<int> &columnWidths, const PrintOptions &options);
// Replaces the file safely, as the exports do: a failed write leaves any old
// file whole. False on failure, with a message naming the file and the reason.
bool write(const QString &path, const TableCells &cells, const QList<int> &columnWidths,
           const PrintOptions &options, QString *error = nullptr);

} // namespace PdfPrint
