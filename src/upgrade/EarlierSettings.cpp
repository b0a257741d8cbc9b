#include "EarlierSettings.h"

#include <QMap>

QString EarlierSettings::keyOf(const QString &section)
{
    return QStringLiteral("Kestrovane\\") + section;
}

bool EarlierSettings::hasSection(const QString &section) const
{
    return m_registry.hasKey(keyOf(section));
}

QString EarlierSettings::readText(const QString &section, const QString &name) const
{
    return m_registry.value(keyOf(section), name);
}

qint64 EarlierSettings::parseNumber(const QString &text, qint64 defaultValue)
{
    const QString t = text.trimmed();
    bool ok = false;
    qint64 n = 0;
    if (t.size() > 2 && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X"))))
        n = t.mid(2).toLongLong(&ok, 16);
    else
        n = t.toLongLong(&ok, 10);
    if (!ok)
        return defaultValue;
    return n < 0 ? 0 : n;
}

qint64 EarlierSettings::readNumber(const QString &section, const QString &name, qint64 defaultValue) const
{
    return parseNumber(readText(section, name), defaultValue);
}

QStringList EarlierSettings::readItems(const QString &section) const
{
    const qint64 count = readNumber(section, QStringLiteral("Count"));
    QStringList items;
    // The count comes from outside; an absurd one must not exhaust memory.
    for (qint64 i = 0; i < count && i < 1000000; ++i)
        items << readText(section, QStringLiteral("Item") + QString::number(i));
    return items;
}

QStringList EarlierSettings::readStoredItems(const QString &section, qint64 count) const
{
    QMap<qint64, QString> stored;
    const QLatin1String item("item");
    for (const QString &name : m_registry.valueNames(keyOf(section))) {
        if (!name.startsWith(item))
            continue;
        bool ok = false;
        const qint64 index = name.mid(item.size()).toLongLong(&ok);
        // "Item" followed by the index as the earlier version wrote it.
        if (ok && index >= 0 && index < count && name.mid(item.size()) == QString::number(index))
            stored.insert(index, readText(section, name));
    }
    return stored.values();
}
