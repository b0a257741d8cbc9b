#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A Wine registry file (user.reg) read as text: keys by their bracketed
// paths, REG_SZ strings with their escapes and dword values (as decimal
// text). Key and value names compare without regard to case, as the
// registry compares them. Values of other types are left out: a reader
// treats them as missing.
class WineRegistry
{
public:
    // The prefix that holds dir: dir itself or the nearest folder above it
    // that contains drive_c, first along the path as given, then along the
    // path with its links resolved; empty when there is none.
    static QString findPrefix(const QString &dir);
    // The registry of the current user for the prefix above dir. Empty (no
    // keys) when there is no prefix or its user.reg cannot be read.
    static WineRegistry forDirectory(const QString &dir);

    // False when the file cannot be read; the registry then holds no keys.
    bool load(const QString &path);
    // The file's text: UTF-16 or UTF-32 after a byte-order mark, otherwise
    // UTF-8, or Windows-1252 when it is not valid UTF-8.
    static QString decode(const QByteArray &bytes);
    void parse(const QString &text);

    // key is a path such as "Kestrovane\\Col", with single backslashes.
    bool hasKey(const QString &key) const;
    // The value as text, or an empty text when key or value is missing.
    QString value(const QString &key, const QString &name) const;
    // The names of the key's values, in lower case.
    QStringList valueNames(const QString &key) const;
    bool isEmpty() const { return m_keys.isEmpty(); }

private:
    // The folders of the path itself, from the last up to the root.
    static QString prefixAbove(const QString &absolutePath);

    // Lower-cased key path -> (lower-cased value name -> text).
    QHash<QString, QHash<QString, QString>> m_keys;
};
