#include "RunGate.h"

#include <QAction>
#include <QWidget>

void RunGate::holdBackWhileRunning(QObject *commandOrView)
{
    if (commandOrView)
        m_holdBack << commandOrView;
}

void RunGate::start(const QList<QWidget *> &alsoHeld)
{
    m_running = true;
    m_heldBack.clear();
    QList<QObject *> objects;
    for (const QPointer<QObject> &object : std::as_const(m_holdBack)) {
        if (object)
            objects << object.data();
    }
    for (QWidget *widget : alsoHeld)
        objects << widget;
    for (QObject *object : std::as_const(objects)) {
        if (m_heldBack.contains(object))
            continue;
        m_heldBack.insert(object, isEnabled(object));
        setEnabled(object, false);
    }
}

void RunGate::finish()
{
    for (auto it = m_heldBack.cbegin(); it != m_heldBack.cend(); ++it)
        setEnabled(it.key(), it.value());
    m_heldBack.clear();
    m_running = false;
}

void RunGate::setEnabled(QObject *object, bool enabled)
{
    if (auto *a = qobject_cast<QAction *>(object))
        a->setEnabled(enabled);
    else if (auto *w = qobject_cast<QWidget *>(object))
        w->setEnabled(enabled);
}

bool RunGate::isEnabled(const QObject *object)
{
    if (const auto *a = qobject_cast<const QAction *>(object))
        return a->isEnabled();
    const auto *w = qobject_cast<const QWidget *>(object);
    return w && w->isEnabled();
}
