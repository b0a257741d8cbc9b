#pragma once

#include <QString>
#include <QStringList>

class SettingsIni;

// Kestrovane.INI with the Windows private-profile semantics: section and key
// names without regard to case, "key=value" lines, and every access opening,
// acting on and closing the file (no cached copy).
class SettingsFile
{
public:
    static constexpr int MaxStringLength = 1023;

    explicit SettingsFile(const QString &path);

    const QString &path() const { return m_path; }

    // A file that is there but cannot be read is not a missing one: its
    // settings read as the defaults, lastError says why, and every write
    // is refused from then on for the life of this object (the run), so the
    // user's settings are never replaced by a picture of an empty file.
    // Reads (this one too) find it out.
    bool isUnreadable() const;

    // A value of more than two characters starting with "0x" is read as
    // hexadecimal; text that is not a number gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // At most MaxStringLength characters.
    QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    bool hasKey(const QString &section, const QString &key) const;

    // Writes return false and set lastError (naming the file) when refused.
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeString(const QString &section, const QString &key, const QString &value);
    // Several keys of one section in a single access.
    bool writeStrings(const QString &section, const QList<QPair<QString, QString>> &values);

    // A string list in its own section: Count and Item0 .. Item<Count-1>.
    QStringList readList(const QString &section) const;
    bool writeList(const QString &section, const QStringList &items);

    const QString &lastError() const { return m_lastError; }

    static int parseInteger(const QString &text, int defaultValue);

private:
    // Loads the file into ini; false when it is unreadable (isUnreadable).
    bool load(SettingsIni &ini) const;

    QString m_path;
    mutable QString m_lastError;
    mutable bool m_unreadable = false;
};
