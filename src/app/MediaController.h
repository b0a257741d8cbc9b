#pragma once

#include "FeatureController.h"
#include "library/MountTable.h"
#include "library/MountedCatalogs.h"

class MountWatcher;

// Media mounted while the program runs: the caption names the catalogs a
// new mount brings and where they are now, and selecting one of them in
// the tree says so on the status line, for as long as it stays mounted.
class MediaController : public FeatureController
{
    Q_OBJECT
public:
    MediaController(AppContext &context, QObject *parent);

    // Reads the mount table now rather than at the kernel's word (a
    // prepared table in a plain file never signals).
    void checkMounts();

private:
    // Starts over from the context's mount source: what is mounted now is
    // not news.
    void watchMounts();
    void showBroughtCatalogs();
    // Takes back the caption once what it names is no longer mounted.
    void withdrawGoneCaption();
    QString mountedNote(const QString &catalog) const;

    MountWatcher *m_watcher = nullptr;
    MountTable m_atStart;
    MountTable m_last;
    QList<MountedCatalogs::Place> m_captioned;
    QString m_caption;
};
