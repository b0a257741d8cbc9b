#pragma once

#include "ScanOptions.h"

#include <QString>
#include <QStringList>

// A catalog's information line: counts, where it was indexed, the volume's
// space and type, when, and the options and masks of that run.
struct CatalogInfo {
    qint64 fileCount = 0;
    qint64 directoryCount = 0;
    QString drive;      // the drive designation (the volume's mount point)
    QString path;       // the indexed directory, ending in "/"
    QString sizeText;
    QString freeText;
    QString driveType;
    QString lastUpdate; // the run's start, as a catalog line writes dates
    ScanOptions options;
    QStringList masks;

    // The line as stored: fifteen fields and then one per mask.
    QString toLine() const;
    // Reads a stored line. False, with info untouched, when the line has
    // fewer than the fifteen fixed fields. A mask count larger than the
    // masks present takes those present.
    static bool fromLine(const QString &line, CatalogInfo &info);

    static QString flagText(bool on);
};
