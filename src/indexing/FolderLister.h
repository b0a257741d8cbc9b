#pragma once

#include "StampFormatter.h"
#include "library/ScanOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>
#include <vector>

struct stat;

// Lists the files of one directory as a scan takes them: filtered by
// attributes, each with its catalog line (as UTF-8) unless the masks leave
// it out. It stats and formats only, so that a pool of threads can list
// directories ahead of the scan, each thread with a lister of its own.
class FolderLister
{
public:
    struct File {
        QString name;      // as FileNameText spells it
        QByteArray native; // the name's bytes, kept for ZIP archives only
        qsizetype lineStart = 0;
        qsizetype lineSize = -1; // -1: the masks leave the file out
        bool zip = false;        // a regular file named *.zip
    };
    struct Listing {
        std::vector<File> files; // in the order the directory gives them
        QByteArray lines;        // the files' catalog lines, one after another
    };

    FolderLister(const ScanOptions &options, const QStringList &masks, const DateFormats &formats);

    // The files of the directory named text (ending in "/") whose bytes are
    // native; nothing when it cannot be opened.
    Listing list(const QString &text, const QByteArray &native);

    bool passesMasks(const QString &name) const;

private:
    bool acceptsFile(const QString &name, mode_t mode) const;
    void appendLine(QByteArray &lines, QByteArrayView name, const struct stat &st, const QByteArray &tail);

    ScanOptions m_options;
    QStringList m_masks;
    StampFormatter m_stamps;
};
