#include "MediaController.h"

#include "AppContext.h"
#include "library/MountWatcher.h"

MediaController::MediaController(AppContext &context, QObject *parent) : FeatureController(context, parent)
{
    watchMounts();
    connect(&m_ctx, &AppContext::mountSourceChanged, this, &MediaController::watchMounts);
    m_ctx.setCatalogNote([this](const QString &catalog) { return mountedNote(catalog); });
}

void MediaController::watchMounts()
{
    delete m_watcher;
    m_watcher = new MountWatcher(m_ctx.mountSource().mountinfo, this);
    connect(m_watcher, &MountWatcher::mountsChanged, this, &MediaController::showBroughtCatalogs);
    m_atStart = MountTable::fromText(m_watcher->text());
    m_last = m_atStart;
    m_captioned.clear();
    m_caption.clear();
}

void MediaController::checkMounts()
{
    m_watcher->reread();
}

void MediaController::showBroughtCatalogs()
{
    const MountTable before = m_last;
    m_last = MountTable::fromText(m_watcher->text());
    const VolumeProbe probe = m_ctx.volumeProbe(m_last);
    const VolumeStore &volumes = m_ctx.state().volumes;
    const QList<MountedCatalogs::Place> brought = MountedCatalogs::broughtBy(before, m_last, probe, volumes);
    // A run's progress owns the caption until it ends.
    if (brought.isEmpty() || m_ctx.isRunning()) {
        withdrawGoneCaption();
        return;
    }
    m_captioned = brought;
    m_caption = MountedCatalogs::caption(brought);
    m_ctx.setStatus(m_caption);
}

void MediaController::withdrawGoneCaption()
{
    if (m_caption.isEmpty() || m_ctx.statusText() != m_caption)
        return;
    const QList<MountedCatalogs::Place> mountedSinceStart =
        MountedCatalogs::broughtBy(m_atStart, m_last, m_ctx.volumeProbe(m_last), m_ctx.state().volumes);
    for (const MountedCatalogs::Place &place : m_captioned) {
        if (!mountedSinceStart.contains(place)) {
            m_ctx.setStatus(QString());
            m_caption.clear();
            return;
        }
    }
}

QString MediaController::mountedNote(const QString &catalog) const
{
    QList<MountedCatalogs::Place> places;
    const QStringList paths = MountedCatalogs::newPlacesOf(catalog, m_atStart, m_last,
                                                           m_ctx.volumeProbe(m_last), m_ctx.state().volumes);
    for (const QString &path : paths)
        places << MountedCatalogs::Place{catalog, path};
    return MountedCatalogs::caption(places);
}
