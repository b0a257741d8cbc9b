#include "CliContext.h"
#include "TerminalText.h"

#include "library/LibraryTransaction.h"
#include "library/TextCompare.h"

bool CliContext::save()
{
    QString error;
    if (LibraryTransaction(library, state).commit(&error))
        return true;
    fail(error);
    return false;
}

int CliContext::fail(const QString &text, int code)
{
    note(text);
    return code;
}

void CliContext::note(const QString &text)
{
    printErr(QStringLiteral("kestrovane-cli: ") + text);
}

void CliContext::tell(const QString &text)
{
    if (!quiet)
        printErr(text);
}

void CliContext::print(const QString &text)
{
    out << (outIsTerminal ? TerminalText::visible(text, true) : text) << '\n';
}

void CliContext::printErr(const QString &text)
{
    err << (errIsTerminal ? TerminalText::visible(text, true) : text) << Qt::endl;
}

QString CliContext::knownCatalog(const QString &name) const
{
    const CategoryTree::CatalogRef ref = state.tree.findCatalog(name);
    if (ref.isValid())
        return state.tree.catalog(ref).name;
    const qsizetype info = state.catalogInfo.indexOf(name);
    if (info >= 0)
        return state.catalogInfo.lines().at(info);
    for (const QString &file : library.catalogFileNames()) {
        if (TextCompare::equalNoCase(file, name))
            return file;
    }
    return {};
}
