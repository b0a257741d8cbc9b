#pragma once

#include "ScanOptions.h"

#include <QString>
#include <QStringList>

// A catalog's information line: counts, where it was indexed, the volume's
// space and type, when, and the options and masks of that run.
struct CatalogInfo {
    // The stored fields by position; the masks follow the fixed ones.
    enum Field {
        FileCountField,
        DirectoryCountField,
        DriveField,
        PathField,
        SizeField,
        FreeField,
        DriveTypeField,
        LastUpdateField,
        HiddenFilesField,
        ReadOnlyFilesField,
        SystemFilesField,
        SubDirectoriesField,
        HiddenDirectoriesField,
        ZipContentsField,
        MaskCountField,
        FixedFieldCount
    };
    // A line cut before its first option flag is not shown: it is taken for
    // damaged, and the user is asked to update the catalog.
    static constexpr int ShownFieldMinimum = HiddenFilesField + 1;

    qint64 fileCount = 0;
    qint64 directoryCount = 0;
    QString drive; // the drive designation (the volume's mount point)
    QString path;  // the indexed directory, ending in "/"
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
    // The label shown beside a stored field ("Mask" past the fixed fields).
    static QString fieldLabel(qsizetype field);
    // The information dialog's lines for the fields of a shown line: the
    // name, then "label: value" of what a user reads there (not the drive,
    // the options or the masks).
    static QStringList dialogLines(const QString &name, const QStringList &fields);
};
