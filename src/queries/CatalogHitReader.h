#pragma once

#include "CatalogStream.h"
#include "ResultOrder.h"
#include "ResultRun.h"

#include <QString>

#include <atomic>
#include <memory>

class CatalogLibrary;
class LineMatcher;

// Reads one catalog's file and gathers its matching lines as result lines.
// One reader serves one thread of a search: it keeps the matcher and the
// stream buffer from catalog to catalog.
class CatalogHitReader
{
public:
    struct Hits {
        bool exists = false; // false: no file, the catalog is skipped
        bool read = false;   // false: the file exists but could not be read
        ResultRun lines;     // result lines, sorted
    };

    CatalogHitReader(const CatalogLibrary &library, std::unique_ptr<LineMatcher> matcher);
    ~CatalogHitReader();

    // Gives up at the next piece once stopped is set; the hits are
    // unfinished then.
    Hits read(const QString &catalog, const std::atomic<bool> &stopped);

private:
    bool searchFile(ResultRun &lines, const std::atomic<bool> &stopped);
    void addHit(ResultRun &lines, QByteArrayView line);

    const CatalogLibrary &m_library;
    std::unique_ptr<LineMatcher> m_matcher;
    CatalogStream m_stream;
    ResultOrder m_order;
    QByteArray m_encoded;
    QByteArray m_head;
};
