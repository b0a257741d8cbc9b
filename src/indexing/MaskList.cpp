#include "indexing/MaskList.h"

#include "library/TextCompare.h"
#include "settings/SettingsFile.h"

#include <algorithm>

const QString MaskList::SettingsSection = QStringLiteral("Global.Masklistbox_Items");

bool MaskList::contains(const QString &mask) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(),
                       [&mask](const QString &held) { return TextCompare::equalAsciiNoCase(held, mask); });
}

bool MaskList::add(const QString &mask)
{
    if (mask.isEmpty() || contains(mask))
        return false;
    const auto at =
        std::upper_bound(m_items.begin(), m_items.end(), mask, [](const QString &a, const QString &b) {
            return TextCompare::compareNoCase(a, b) < 0;
        });
    m_items.insert(at, mask);
    return true;
}

void MaskList::removeAt(int index)
{
    if (index >= 0 && index < m_items.size())
        m_items.removeAt(index);
}

void MaskList::clear()
{
    m_items.clear();
}

void MaskList::setItems(const QStringList &masks)
{
    m_items.clear();
    for (const QString &mask : masks)
        add(mask);
}

QStringList MaskList::readSaved(const SettingsFile &settings)
{
    // readList also keeps a damaged Count from running away.
    return settings.readList(SettingsSection);
}
