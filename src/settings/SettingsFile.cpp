#include "SettingsFile.h"

#include "library/TextFile.h"

// UTF-8 text passes through unchanged; decoding is done by TextFile.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <QFileInfo>

class SettingsIni
{
public:
    enum class Load { Loaded, Missing, Unreadable };

    SettingsIni()
    {
        m_ini.SetUnicode(true);
        m_ini.SetSpaces(false);
        m_ini.SetMultiKey(false);
    }

    Load load(const QString &path, QString &reason)
    {
        QString text;
        if (!TextFile::readText(path, text, &reason)) {
            const QFileInfo file(path);
            return file.exists() || file.isSymLink() ? Load::Unreadable : Load::Missing;
        }
        const QByteArray utf8 = text.toUtf8();
        m_ini.LoadData(utf8.constData(), size_t(utf8.size()));
        return Load::Loaded;
    }

    bool save(const QString &path, QString &error)
    {
        std::string data;
        m_ini.Save(data);
        QByteArray bytes = QByteArray::fromStdString(data);
        bytes.replace("\r\n", "\n").replace("\n", "\r\n");
        QString reason;
        if (!TextFile::writeBytes(path, bytes, &reason)) {
            error = QStringLiteral("Cannot write ") + reason;
            return false;
        }
        return true;
    }

    const char *get(const QString &section, const QString &key) const
    {
        return m_ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    }

    void set(const QString &section, const QString &key, const QString &value)
    {
        m_ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), value.toUtf8().constData());
    }

    void deleteSection(const QString &section) { m_ini.Delete(section.toUtf8().constData(), nullptr); }

private:
    CSimpleIniA m_ini; // section and key names without regard to case
};

SettingsFile::SettingsFile(const QString &path) : m_path(path)
{}

bool SettingsFile::load(SettingsIni &ini) const
{
    QString reason;
    if (ini.load(m_path, reason) == SettingsIni::Load::Unreadable && !m_unreadable) {
        m_unreadable = true;
        // The reader's reason starts with the path, named here already.
        reason.remove(0, reason.startsWith(m_path + QLatin1String(": ")) ? m_path.size() + 2 : 0);
        m_lastError =
            QStringLiteral("The settings file %1 exists but cannot be read (%2); it is left as it is.")
                .arg(m_path, reason);
    }
    return !m_unreadable;
}

bool SettingsFile::isUnreadable() const
{
    SettingsIni ini;
    return !load(ini);
}

int SettingsFile::parseInteger(const QString &text, int defaultValue)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.size() > 2 && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X"))))
        value = int(t.mid(2).toUInt(&ok, 16));
    else
        value = t.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

int SettingsFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    SettingsIni ini;
    load(ini);
    const char *value = ini.get(section, key);
    return value ? parseInteger(QString::fromUtf8(value), defaultValue) : defaultValue;
}

QString SettingsFile::readString(const QString &section, const QString &key,
                                 const QString &defaultValue) const
{
    SettingsIni ini;
    load(ini);
    const char *value = ini.get(section, key);
    const QString text = value ? QString::fromUtf8(value) : defaultValue;
    return text.left(MaxStringLength);
}

bool SettingsFile::hasKey(const QString &section, const QString &key) const
{
    SettingsIni ini;
    load(ini);
    return ini.get(section, key) != nullptr;
}

bool SettingsFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool SettingsFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return writeStrings(section, {{key, value}});
}

bool SettingsFile::writeStrings(const QString &section, const QList<QPair<QString, QString>> &values)
{
    SettingsIni ini;
    if (!load(ini))
        return false;
    for (const auto &kv : values) {
        QString v = kv.second;
        v.replace(u'\r', u' ').replace(u'\n', u' ');
        ini.set(section, kv.first, v);
    }
    return ini.save(m_path, m_lastError);
}

QStringList SettingsFile::readList(const QString &section) const
{
    SettingsIni ini;
    load(ini);
    QStringList items;
    const char *countText = ini.get(section, QStringLiteral("Count"));
    // A damaged count must not make the read run away.
    const int count = qMin(countText ? parseInteger(QString::fromUtf8(countText), 0) : 0, 100000);
    for (int i = 0; i < count; ++i) {
        const char *item = ini.get(section, QStringLiteral("Item%1").arg(i));
        items << (item ? QString::fromUtf8(item).left(MaxStringLength) : QString());
    }
    return items;
}

bool SettingsFile::writeList(const QString &section, const QStringList &items)
{
    SettingsIni ini;
    if (!load(ini))
        return false;
    ini.deleteSection(section);
    ini.set(section, QStringLiteral("Count"), QString::number(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        QString v = items.at(i);
        v.replace(u'\r', u' ').replace(u'\n', u' ');
        ini.set(section, QStringLiteral("Item%1").arg(i), v);
    }
    return ini.save(m_path, m_lastError);
}
