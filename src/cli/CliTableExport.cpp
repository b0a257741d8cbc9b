#include "CliTableExport.h"

#include "CliContext.h"

#include <QIODevice>

#include "library/OutputTarget.h"
#include "table/ExportFile.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"

bool CliTableExport::take(const CliArguments &args, const QString &fileOption, CliTableExport &target,
                          QString &error)
{
    target.html = args.has(QStringLiteral("--html"));
    target.title = args.value(QStringLiteral("--title"));
    const bool titled = args.has(QStringLiteral("--title"));
    if (!fileOption.isEmpty())
        target.file = args.value(fileOption);
    // An empty title is a title all the same; an empty file name is none.
    if (!fileOption.isEmpty() && args.has(fileOption) && target.file.isEmpty())
        error = fileOption + QStringLiteral(" needs a file name");
    else if (titled && !target.html)
        error = QStringLiteral("--title goes with --html");
    else if (!fileOption.isEmpty() && target.html && target.file.isEmpty())
        error = QStringLiteral("--html goes with ") + fileOption;
    return error.isEmpty();
}

int CliTableExport::write(CliContext &c, const TableCells &table) const
{
    if (toStandardOutput())
        return writeToStandardOutput(c, table);
    if (const QString refusal = OutputTarget::refusal(c.library, file); !refusal.isEmpty())
        return c.fail(refusal);
    QString error;
    const bool saved =
        html ? ExportFile::write(
                   file, [&](const ByteSink &sink) { return HtmlExport::write(table, title, sink); }, &error)
             : ExportFile::write(
                   file, [&](const ByteSink &sink) { return TextExport::write(table, sink); }, &error);
    return saved ? CliExit::Ok : c.fail(error);
}

// Straight to standard output, piece by piece; a failed write is reported
// once the command ends, as for rows.
int CliTableExport::writeToStandardOutput(CliContext &c, const TableCells &table) const
{
    c.out.flush();
    QIODevice *device = c.out.device();
    const ByteSink sink = [device](const QByteArray &bytes) { return device->write(bytes) == bytes.size(); };
    if (html)
        HtmlExport::write(table, title, sink);
    else
        TextExport::write(table, sink);
    return CliExit::Ok;
}

int CliTableExport::write(CliContext &c, const VisualTableModel &table) const
{
    return write(c, ModelTableCells(table));
}
