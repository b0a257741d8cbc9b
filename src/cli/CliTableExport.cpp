#include "CliTableExport.h"

#include "CliContext.h"

#include "library/OutputTarget.h"
#include "table/ExportFile.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"

namespace {

// Takes the option at args[i] and its value out of args. An empty title
// is a title all the same; an empty file name is none.
bool takeValue(QStringList &args, qsizetype i, QString &value, QString &error, bool mayBeEmpty = false)
{
    if (i + 1 >= args.size() || (!mayBeEmpty && args.at(i + 1).isEmpty())) {
        error = args.at(i) + QStringLiteral(" needs a value");
        return false;
    }
    value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

} // namespace

bool CliTableExport::take(QStringList &args, const QString &fileOption, CliTableExport &target, QString &error)
{
    bool titled = false;
    for (qsizetype i = 0; i < args.size();) {
        const QString &option = args.at(i);
        if (option == QLatin1String("--html")) {
            target.html = true;
            args.remove(i);
        } else if (option == QLatin1String("--title")) {
            if (!takeValue(args, i, target.title, error, true))
                return false;
            titled = true;
        } else if (!fileOption.isEmpty() && option == fileOption) {
            if (!takeValue(args, i, target.file, error))
                return false;
        } else {
            ++i;
        }
    }
    if (titled && !target.html)
        error = QStringLiteral("--title goes with --html");
    else if (!fileOption.isEmpty() && target.html && target.file.isEmpty())
        error = QStringLiteral("--html goes with ") + fileOption;
    return error.isEmpty();
}

int CliTableExport::write(CliContext &c, const TableCells &table) const
{
    if (const QString refusal = OutputTarget::refusal(c.library, file); !refusal.isEmpty())
        return c.fail(refusal);
    QString error;
    const bool saved = html ? ExportFile::write(
                           file, [&](const ByteSink &sink) { return HtmlExport::write(table, title, sink); }, &error)
                            : ExportFile::write(
                                file, [&](const ByteSink &sink) { return TextExport::write(table, sink); }, &error);
    return saved ? CliExit::Ok : c.fail(error);
}

int CliTableExport::write(CliContext &c, const VisualTableModel &table) const
{
    return write(c, ModelTableCells(table));
}
