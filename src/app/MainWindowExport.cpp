// "Save Contents As": the Visual Table written as a formatted text file or
// an HTML page, whatever layout it shows.
#include "MainWindow.h"

#include "library/OutputTarget.h"
#include "settings/LastFolder.h"
#include "table/ExportFile.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"

#include <QDir>

namespace {

const QString kTextFilter = QStringLiteral("Text Files(*.txt)");
const QString kHtmlFilter = QStringLiteral("HTML Files(*.htm)");

// The save dialog, opening on the filter of the kind being saved, and the
// name it gave with that kind's extension; empty on Cancel, and after
// telling the user, for a file of the library, which is never written over.
QString askExportPath(MainWindow &window, const QString &filter, const QString &extension)
{
    const QString name =
        window.dialogs().saveFileName(QStringLiteral("Save catalog as"), LastFolder::start(window.settings()),
                                      kTextFilter + QStringLiteral(";;") + kHtmlFilter, filter);
    if (name.isEmpty())
        return QString();
    const QString path = ExportFile::withExtension(name, extension);
    if (const QString refusal = OutputTarget::refusal(window.library(), path); !refusal.isEmpty()) {
        window.dialogs().error(refusal);
        return QString();
    }
    LastFolder::remember(window.settings(), path);
    return path;
}

// A failed write leaves any old file whole and the caption as it was.
void writeExport(MainWindow &window, const QString &path, const ExportFile::Producer &produce)
{
    window.setBusy(true);
    QString error;
    const bool saved = ExportFile::write(path, produce, &error);
    window.setBusy(false);
    if (!saved) {
        window.dialogs().error(error);
        return;
    }
    window.StatusLine(QDir::toNativeSeparators(path) + QStringLiteral(" Saved"));
}

} // namespace

void MainWindow::connectExportCommands()
{
    connectCommand(QStringLiteral("TextFileFormatted1"), &MainWindow::exportTextFile);
    connectCommand(QStringLiteral("HTMLFile1"), &MainWindow::exportHtmlFile);
}

void MainWindow::exportTextFile()
{
    const QString path = askExportPath(*this, kTextFilter, ExportFile::kTextExtension);
    if (path.isEmpty())
        return;
    const ModelTableCells cells(*m_tableModel);
    writeExport(*this, path, [&cells](const ByteSink &sink) { return TextExport::write(cells, sink); });
}

void MainWindow::exportHtmlFile()
{
    const QString path = askExportPath(*this, kHtmlFilter, ExportFile::kHtmlExtension);
    if (path.isEmpty())
        return;
    // Asked before anything is written, so the page is written once, whole.
    const std::optional<QString> title =
        m_ctx.dialogs().inputBox(QStringLiteral("Saving Table Contents"),
                                 QStringLiteral("Enter a title for the HTML page (optional)"));
    // Cancel keeps the page but leaves it without a title.
    const QString pageTitle = title.value_or(QString());
    const ModelTableCells cells(*m_tableModel);
    writeExport(*this, path, [&cells, &pageTitle](const ByteSink &sink) {
        return HtmlExport::write(cells, pageTitle, sink);
    });
}
