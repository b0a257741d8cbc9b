#pragma once

#include "ResultSorter.h"
#include "library/SortedLineList.h"

#include <QByteArray>
#include <QByteArrayView>

// Result lines of one catalog at a time, handed to a sorter that puts them
// in order on a second thread while the next catalog is read.
class ResultGathering
{
public:
    // The catalog line with the catalog's quoted name as a sixth field; a
    // blank line is no entry and is passed over.
    void add(QByteArrayView line, QByteArrayView catalog);
    // Drops what the current catalog gave so far.
    void forget() { m_catalog.clear(); }
    void endCatalog();
    // Every line gathered, in order; waits for the sorter.
    SortedLineList take();

private:
    QByteArray m_entry;
    SortedLineList m_catalog;
    ResultSorter m_sorter;
};
