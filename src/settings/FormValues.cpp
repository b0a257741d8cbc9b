#include "FormValues.h"

#include "SettingsFile.h"
#include "StoredProperties.h"

namespace {

const QString kGlobal = QStringLiteral("Global");

QString fontKey(const StoredProperty &p, const StoredProperties::FontAttribute &a)
{
    return QLatin1String(p.key) + QLatin1String(a.suffix);
}

} // namespace

FormValues FormValues::defaults()
{
    FormValues values;
    for (const StoredProperty &p : StoredProperties::all()) {
        if (p.kind == StoredProperty::StringList)
            values.setList(QLatin1String(p.key), {});
        else if (p.kind == StoredProperty::Font)
            for (const auto &a : StoredProperties::fontAttributes())
                values.setText(fontKey(p, a), QLatin1String(a.defaultValue));
        else
            values.setText(QLatin1String(p.key), QLatin1String(p.defaultValue));
    }
    return values;
}

FormValues FormValues::restore(const SettingsFile &settings)
{
    FormValues values;
    for (const StoredProperty &p : StoredProperties::all()) {
        const QString key = QLatin1String(p.key);
        switch (p.kind) {
        case StoredProperty::StringList:
            values.setList(key, settings.readList(listSection(key)));
            break;
        case StoredProperty::Font:
            for (const auto &a : StoredProperties::fontAttributes())
                values.setText(fontKey(p, a),
                               settings.readString(kGlobal, fontKey(p, a), QLatin1String(a.defaultValue)));
            break;
        case StoredProperty::Integer:
            values.setInteger(
                key, settings.readInteger(kGlobal, key, QString::fromLatin1(p.defaultValue).toInt()));
            break;
        default:
            values.setText(key, settings.readString(kGlobal, key, QLatin1String(p.defaultValue)));
            break;
        }
    }
    return values;
}

bool FormValues::save(SettingsFile &settings) const
{
    return saveChanges(settings, nullptr);
}

bool FormValues::saveChanges(SettingsFile &settings, const FormValues &before) const
{
    return saveChanges(settings, &before);
}

QStringList FormValues::mergedList(const QStringList &stored, const QStringList &before,
                                   const QStringList &now)
{
    QStringList merged;
    for (const QString &item : stored) {
        if (now.contains(item) || !before.contains(item))
            merged << item;
    }
    for (const QString &item : now) {
        if (!before.contains(item) && !merged.contains(item))
            merged << item;
    }
    return merged;
}

// Without before every value is written. With it, a value is written only
// when this program changed it or the file lacks it, so a value another
// program stored meanwhile is kept; a list gets this program's additions
// and removals applied to the list as stored now.
bool FormValues::saveChanges(SettingsFile &settings, const FormValues *before) const
{
    const auto changed = [&](const QString &section, const QString &key) {
        return !before || text(key) != before->text(key) || !settings.hasKey(section, key);
    };
    for (const StoredProperty &p : StoredProperties::all()) {
        const QString key = QLatin1String(p.key);
        bool ok = true;
        if (p.kind == StoredProperty::StringList) {
            const QString section = listSection(key);
            if (!before || !settings.hasKey(section, QStringLiteral("Count")))
                ok = settings.writeList(section, list(key));
            else if (list(key) != before->list(key))
                ok = settings.writeList(section,
                                        mergedList(settings.readList(section), before->list(key), list(key)));
        } else if (p.kind == StoredProperty::Font) {
            QList<QPair<QString, QString>> attributes;
            for (const auto &a : StoredProperties::fontAttributes()) {
                if (changed(kGlobal, fontKey(p, a)))
                    attributes.append({fontKey(p, a), text(fontKey(p, a))});
            }
            ok = attributes.isEmpty() || settings.writeStrings(kGlobal, attributes);
        } else if (changed(kGlobal, key)) {
            ok = settings.writeString(kGlobal, key, text(key));
        }
        if (!ok)
            return false;
    }
    return true;
}

int FormValues::integer(const QString &key) const
{
    const StoredProperty *p = StoredProperties::find(key);
    const int fallback = p ? QString::fromLatin1(p->defaultValue).toInt() : 0;
    return SettingsFile::parseInteger(text(key), fallback);
}

bool FormValues::boolean(const QString &key) const
{
    const QString t = text(key);
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const StoredProperty *p = StoredProperties::find(key);
    return p && QLatin1String(p->defaultValue) == QLatin1String("True");
}

void FormValues::setBoolean(const QString &key, bool value)
{
    setText(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}
