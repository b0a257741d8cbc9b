#pragma once

#include <QHash>
#include <QList>
#include <QPointer>

class QObject;
class QWidget;

// One run at a time. Runs (index, update, search, duplicates) share
// FileLines and the running flag, so while one goes on nothing may replace
// the table, change the catalogs it works on or start another run. Each
// feature registers the commands and views a run must hold back; the gate
// disables them for the run and gives each its state back afterwards.
class RunGate
{
public:
    // A QAction or QWidget disabled while any run goes on.
    void holdBackWhileRunning(QObject *commandOrView);
    bool isRunning() const { return m_running; }
    // Disables what was registered and alsoHeld (the tool panels other than
    // the running one).
    void start(const QList<QWidget *> &alsoHeld);
    void finish();

private:
    static void setEnabled(QObject *object, bool enabled);
    static bool isEnabled(const QObject *object);

    QList<QPointer<QObject>> m_holdBack;
    QHash<QObject *, bool> m_heldBack; // disabled objects, with their state before
    bool m_running = false;
};
