#pragma once

// The six check boxes that decide what an indexing or update run takes in.
// A catalog's information line keeps them, so an update rescans the same way.
struct ScanOptions {
    bool hiddenFiles = true;
    bool readOnlyFiles = true;
    bool systemFiles = true;
    bool subDirectories = true;
    bool hiddenDirectories = true;
    bool zipContents = false;

    bool operator==(const ScanOptions &o) const
    {
        return hiddenFiles == o.hiddenFiles && readOnlyFiles == o.readOnlyFiles &&
               systemFiles == o.systemFiles && subDirectories == o.subDirectories &&
               hiddenDirectories == o.hiddenDirectories && zipContents == o.zipContents;
    }
    bool operator!=(const ScanOptions &o) const { return !(*this == o); }
};
