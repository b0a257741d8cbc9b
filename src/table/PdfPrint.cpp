#include "PdfPrint.h"

#include "ExportFile.h"
#include "TablePrinter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>

namespace PdfPrint {

QByteArray document(const TableCells &cells, const QList<int> &columnWidths, const PrintOptions &options)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Kestrovane"));
        writer.setTitle(options.title);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
            QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm), QPageLayout::Millimeter));
        TablePrinter(cells, columnWidths, options).print(writer);
    }
    return bytes;
}

bool write(const QString &path, const TableCells &cells, const QList<int> &columnWidths,
           const PrintOptions &options, QString *error)
{
    return ExportFile::write(path, document(cells, columnWidths, options), error);
}

} // namespace PdfPrint
