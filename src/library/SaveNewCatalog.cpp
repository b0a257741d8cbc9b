#include "SaveNewCatalog.h"

#include "CatalogLibrary.h"
#include "CatalogName.h"
#include "LibraryState.h"
#include "LibraryTransaction.h"
#include "SortedLineList.h"

namespace {

QString nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Please specify a name for this catalog first!");
    return CatalogName::problem(name);
}

const QString kNoCategory =
    QStringLiteral("Please select or create a category\r\nto save this catalog under.");

} // namespace

SaveNewCatalog::SaveNewCatalog(LibraryState &state, const CatalogLibrary &library, Request request)
    : m_state(state), m_library(library), m_request(std::move(request))
{
    const int category = m_request.category;
    if (category >= 0 && category < m_state.tree.categoryCount())
        m_categoryName = m_state.tree.category(category).name;
}

int SaveNewCatalog::chosenCategory() const
{
    return m_categoryName.isEmpty() ? -1 : m_state.tree.findCategory(m_categoryName);
}

bool SaveNewCatalog::isTaken(const LibraryState &state, const CatalogLibrary &library, const QString &name)
{
    return CatalogName::isTaken(state, library, name);
}

SaveNewCatalog::Result SaveNewCatalog::start()
{
    return proceed();
}

SaveNewCatalog::Result SaveNewCatalog::proceed()
{
    if (const QString problem = nameProblem(m_request.name); !problem.isEmpty()) {
        Result r = refused(QString(), problem);
        r.focusName = true;
        return r;
    }
    if (isTaken(m_state, m_library, m_request.name)) {
        Result r;
        r.outcome = Outcome::NeedsChoice;
        r.name = m_request.name;
        return r;
    }
    return saveNew();
}

SaveNewCatalog::Result SaveNewCatalog::choose(Choice choice, const QString &renameText)
{
    switch (choice) {
    case Choice::RenameTo:
        return renameTo(renameText);
    case Choice::Overwrite:
        return overwrite();
    case Choice::Update:
        return update();
    case Choice::Cancel:
        break;
    }
    Result r = refused(QStringLiteral("Cancelled"));
    r.outcome = Outcome::Cancelled;
    r.clearName = true;
    r.focusName = true;
    return r;
}

SaveNewCatalog::Result SaveNewCatalog::renameTo(const QString &text)
{
    if (text.isEmpty() || text.toUpper() == m_request.name.toUpper()) {
        Result r = refused(text.isEmpty() ? QStringLiteral("Rename Edit Box Was Empty!")
                                          : QStringLiteral("A Catalog With The Same Name Exists!"));
        r.clearName = true;
        r.focusName = true;
        return r;
    }
    m_request.name = text;
    // The new name goes through the same checks, so a name that is itself
    // taken brings the same-name choice again instead of replacing it.
    return proceed();
}

SaveNewCatalog::Result SaveNewCatalog::saveNew()
{
    if (chosenCategory() < 0)
        return refused(QString(), kNoCategory);
    // The file, the node and the information line are stored together.
    LibraryTransaction transaction(m_library, m_state);
    // Under the lock the tree is as another program may have left it.
    const int category = chosenCategory();
    if (transaction.isLocked() && isTaken(m_state, m_library, m_request.name)) {
        Result r;
        r.outcome = Outcome::NeedsChoice;
        r.name = m_request.name;
        return r;
    }
    if (category < 0)
        return refused(QString(), kNoCategory);
    stageCatalog(transaction);
    m_state.tree.addCatalog(category, m_request.name, CategoryTree::imageForDriveType(m_request.driveType));
    // A pair left behind by a catalog deleted outside the program would hide
    // the new line from every lookup, so it is replaced rather than followed.
    m_state.catalogInfo.setValue(m_request.name, m_state.lastRunInfo);
    m_state.volumes.recordScan(m_request.name, m_state.lastRunMedium);
    if (QString error; !transaction.commit(&error))
        return failed(QStringLiteral("Failed To Save Catalog"), error);
    return done(Outcome::Saved, QLatin1String("Saved ") + m_request.name + QLatin1String(" Catalog"));
}

bool SaveNewCatalog::canFileUnderNode() const
{
    return m_state.tree.findCatalog(m_request.name).isValid() || chosenCategory() >= 0;
}

void SaveNewCatalog::fileUnderNode()
{
    if (!m_state.tree.findCatalog(m_request.name).isValid() && chosenCategory() >= 0)
        m_state.tree.addCatalog(chosenCategory(), m_request.name,
                                CategoryTree::imageForDriveType(m_request.driveType));
}

SaveNewCatalog::Result SaveNewCatalog::overwrite()
{
    // A file or pair that no node names (left by a crash or another program)
    // is filed under the chosen category, so the catalog never ends up where
    // the tree cannot reach it.
    if (!canFileUnderNode())
        return refused(QString(), kNoCategory);
    LibraryTransaction transaction(m_library, m_state);
    if (!canFileUnderNode())
        return refused(QString(), kNoCategory);
    stageCatalog(transaction);
    // The catalog now describes the new run: its information and picture too.
    m_state.catalogInfo.setValue(m_request.name, m_state.lastRunInfo);
    m_state.volumes.recordScan(m_request.name, m_state.lastRunMedium);
    const CategoryTree::CatalogRef node = m_state.tree.findCatalog(m_request.name);
    if (node.isValid())
        m_state.tree.setCatalogImage(node, CategoryTree::imageForDriveType(m_request.driveType));
    fileUnderNode();
    if (QString error; !transaction.commit(&error))
        return failed(QStringLiteral("Failed To Save Catalog"), error);
    return done(Outcome::Overwrote, QLatin1String("Overwrote ") + m_request.name + QLatin1String(" Catalog"));
}

SaveNewCatalog::Result SaveNewCatalog::update()
{
    if (!canFileUnderNode())
        return refused(QString(), kNoCategory);
    LibraryTransaction transaction(m_library, m_state);
    if (!canFileUnderNode())
        return refused(QString(), kNoCategory);
    const CatalogSaving::MergeResult merge = CatalogSaving::MergeWithStored(
        m_library, m_request.name, newLines(), CatalogSaving::MissingCatalog::Refuse, &transaction);
    if (!merge.ok)
        return failed(merge.status, merge.error);
    if (m_state.catalogInfo.contains(m_request.name))
        m_state.catalogInfo.setValue(m_request.name, m_state.lastRunInfo);
    m_state.volumes.recordScan(m_request.name, m_state.lastRunMedium);
    fileUnderNode();
    if (QString error; !transaction.commit(&error))
        return failed(QStringLiteral("Failed To Save Catalog"), error);
    Result r = done(Outcome::Updated, merge.status);
    r.clearName = false;
    r.hidePanel = true;
    r.reloadMasks = m_state.masksCleared;
    m_state.masksCleared = false;
    return r;
}

void SaveNewCatalog::stageCatalog(LibraryTransaction &transaction) const
{
    if (m_request.lines)
        CatalogSaving::WriteLines(m_library, m_request.name, std::move(*m_request.lines), nullptr,
                                  &transaction);
    else
        CatalogSaving::WriteTableRows(m_library, m_request.name, m_request.rows, nullptr, &transaction);
}

QStringList SaveNewCatalog::newLines() const
{
    return m_request.lines ? m_request.lines->lines() : CatalogSaving::rowLines(m_request.rows);
}

SaveNewCatalog::Result SaveNewCatalog::done(Outcome outcome, const QString &status)
{
    m_state.displayMode.newScan = false;
    m_state.savedScanName = m_request.name;
    m_state.openCatalogName.clear();
    Result r;
    r.outcome = outcome;
    r.name = m_request.name;
    r.status = status;
    r.clearName = true;
    return r;
}

SaveNewCatalog::Result SaveNewCatalog::refused(const QString &status, const QString &warning)
{
    Result r;
    r.outcome = Outcome::Refused;
    r.name = m_request.name;
    r.status = status;
    r.warning = warning;
    return r;
}

SaveNewCatalog::Result SaveNewCatalog::failed(const QString &status, const QString &error)
{
    Result r;
    r.outcome = Outcome::Failed;
    r.status = status;
    r.error = error;
    return r;
}
