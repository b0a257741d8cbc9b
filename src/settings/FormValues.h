#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class SettingsFile;

// The stored control properties as text, keyed like the settings file
// ("Panel1_Width"; a font by its attribute keys, "FontDialog1_FontName").
// restore() fills every property, taking the default where a key is absent;
// save() writes them in the stored order.
class FormValues
{
public:
    static FormValues defaults();
    static FormValues restore(const SettingsFile &settings);
    bool save(SettingsFile &settings) const;
    // Writes only what differs from before (the values as restored), so
    // values another program stored meanwhile stay; see saveChanges below.
    bool saveChanges(SettingsFile &settings, const FormValues &before) const;
    // A stored list with the additions and removals that turned before into
    // now.
    static QStringList mergedList(const QStringList &stored, const QStringList &before,
                                  const QStringList &now);

    QString text(const QString &key) const { return m_values.value(key.toLower()); }
    int integer(const QString &key) const;
    bool boolean(const QString &key) const;
    QStringList list(const QString &key) const { return m_lists.value(key.toLower()); }

    void setText(const QString &key, const QString &value) { m_values.insert(key.toLower(), value); }
    void setInteger(const QString &key, int value) { setText(key, QString::number(value)); }
    void setBoolean(const QString &key, bool value);
    void setList(const QString &key, const QStringList &items) { m_lists.insert(key.toLower(), items); }

    static QString listSection(const QString &key) { return QStringLiteral("Global.") + key; }

private:
    bool saveChanges(SettingsFile &settings, const FormValues *before) const;

    QHash<QString, QString> m_values;
    QHash<QString, QStringList> m_lists;
};
