#pragma once

#include <QString>
#include <QStringList>

class CliArguments;
class TableCells;
class VisualTableModel;
struct CliContext;

// A table written to a file as the window's "Save Contents As" writes it:
// formatted text, or an HTML page with an optional title. Commands take it
// as "--export FILE [--html [--title T]]", the export command as its FILE
// argument with the same --html and --title. The file "-" is standard
// output.
struct CliTableExport {
    QString file;
    bool html = false;
    QString title;

    bool requested() const { return !file.isEmpty(); }
    bool toStandardOutput() const { return file == QLatin1String("-"); }

    // Reads --html, --title T and, when fileOption is given, that option's
    // FILE. False, with the complaint in error, for an empty file name,
    // --title without --html or --html without the file option.
    static bool take(const CliArguments &args, const QString &fileOption, CliTableExport &target,
                     QString &error);

    // Writes the file through a temporary one, so a failure leaves any old
    // file whole; a file of the library is refused. The exit status, after
    // reporting a failure.
    int write(CliContext &c, const TableCells &table) const;
    int write(CliContext &c, const VisualTableModel &table) const;

private:
    int writeToStandardOutput(CliContext &c, const TableCells &table) const;
};
