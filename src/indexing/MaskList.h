#pragma once

#include <QString>
#include <QStringList>

class SettingsFile;

// A list of file masks kept in the user's case-insensitive order, holding no
// two masks that are equal when the case of ASCII letters is ignored.
// Masks keep the case they are given in: the entry boxes lower what the user
// types, while masks read back from storage stay as stored.
class MaskList
{
public:
    // Where the create panel's list is kept in the settings file.
    static const QString SettingsSection; // "Global.Masklistbox_Items"

    // Inserts the mask at its sorted place. False, with the list unchanged,
    // when the mask is empty or an equal one (ASCII case ignored) is held.
    bool add(const QString &mask);
    bool contains(const QString &mask) const;
    void removeAt(int index); // an index out of range is ignored
    void clear();
    bool isEmpty() const { return m_items.isEmpty(); }
    int size() const { return int(m_items.size()); }

    const QStringList &items() const { return m_items; }
    // Replaces the list by the given masks, each added as by add(): their
    // case is kept, duplicates and empty masks are dropped.
    void setItems(const QStringList &masks);

    // The masks saved for the create panel (Count and Item0 .. Item<Count-1>
    // of SettingsSection), in stored order; none when the section is missing.
    static QStringList readSaved(const SettingsFile &settings);

private:
    QStringList m_items;
};
