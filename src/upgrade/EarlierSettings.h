#pragma once

#include "WineRegistry.h"

#include <QString>
#include <QStringList>

// The earlier version's settings: the key "Kestrovane" of the current
// user's registry, read like an INI file whose sections are subkeys
// ("Catalogs\\CdRom") and whose identifiers are value names.
class EarlierSettings
{
public:
    EarlierSettings() = default;
    explicit EarlierSettings(WineRegistry registry) : m_registry(std::move(registry)) {}

    bool hasSection(const QString &section) const;
    QString readText(const QString &section, const QString &name) const;
    // Decimal text, or hexadecimal after "0x". Missing or unreadable text
    // gives defaultValue; a negative number, which the earlier version never
    // wrote, gives 0.
    qint64 readNumber(const QString &section, const QString &name, qint64 defaultValue = 0) const;
    // "Count", then "Item0" .. "Item<Count-1>" (missing items empty).
    QStringList readItems(const QString &section) const;
    // The items "Item0" .. "Item<count-1>" that are stored, in their order:
    // a count far beyond the stored items costs nothing.
    QStringList readStoredItems(const QString &section, qint64 count) const;

    static qint64 parseNumber(const QString &text, qint64 defaultValue);

private:
    static QString keyOf(const QString &section);

    WineRegistry m_registry;
};
