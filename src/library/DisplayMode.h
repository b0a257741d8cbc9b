#pragma once

// What the Visual Table holds. Opening a catalog sets loading and clears the
// rest; each other command sets its own flag.
struct DisplayMode {
    bool newScan = false;
    bool loading = false;
    bool update = false;
    bool searchResults = false;
    bool duplicateResults = false;
    bool singleCopyResults = false;

    void clear() { *this = DisplayMode(); }
    bool singleCatalog() const { return newScan || loading || update; }
    bool results() const { return searchResults || duplicateResults || singleCopyResults; }
};
