#pragma once

#include <QObject>

class AppContext;

// One feature area of the main window: it owns its tool panels, the
// handlers of its commands, its state and its stored properties, and
// reaches the rest of the program only through the context.
class FeatureController : public QObject
{
    Q_OBJECT
public:
    FeatureController(AppContext &context, QObject *parent);

    // Builds the feature's tool panels, once the stored properties are read.
    virtual void createPanels() {}
    // Writes the feature's stored properties into the form before it is saved.
    virtual void collectStoredProperties() {}

protected:
    AppContext &m_ctx;
};
