#include "ResultGathering.h"

#include "CatalogLines.h"

#include <utility>

void ResultGathering::add(QByteArrayView line, QByteArrayView catalog)
{
    if (!CatalogLines::resultLineUtf8(line, catalog, m_entry))
        return;
    // A long line is taken over rather than copied; m_entry then starts
    // afresh.
    m_catalog.addUtf8(std::move(m_entry));
}

void ResultGathering::endCatalog()
{
    m_sorter.add(std::exchange(m_catalog, SortedLineList()));
}

SortedLineList ResultGathering::take()
{
    endCatalog();
    return m_sorter.takeSorted();
}
