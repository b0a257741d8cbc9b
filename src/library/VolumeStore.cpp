#include "VolumeStore.h"

#include "CommaText.h"
#include "TextCompare.h"

namespace {

enum Field { NameField, UuidField, LabelField, TypeField, SubPathField, FieldCount };

VolumeIdentity identityFrom(const QStringList &fields)
{
    return {CommaText::field(fields, UuidField), CommaText::field(fields, LabelField),
            CommaText::field(fields, TypeField), CommaText::field(fields, SubPathField)};
}

QString lineOf(const QString &catalog, const VolumeIdentity &identity, const QStringList &extra = {})
{
    return CommaText::join(
        QStringList{catalog, identity.uuid, identity.label, identity.type, identity.subPath} + extra);
}

bool below(const QString &path, const QString &folder)
{
    return VolumeIdentity{QString(), QString(), QString(), folder}.holds(path);
}

} // namespace

qsizetype VolumeStore::indexOf(QStringView catalog) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QStringList fields = CommaText::split(m_lines.at(i));
        if (!fields.isEmpty() && TextCompare::equalNoCase(fields.first(), catalog))
            return i;
    }
    return -1;
}

std::optional<VolumeIdentity> VolumeStore::identityOf(QStringView catalog) const
{
    const qsizetype i = indexOf(catalog);
    if (i < 0)
        return std::nullopt;
    return identityFrom(CommaText::split(m_lines.at(i)));
}

QHash<QString, VolumeIdentity> VolumeStore::identitiesByName() const
{
    QHash<QString, VolumeIdentity> media;
    media.reserve(m_lines.size());
    for (const QString &line : m_lines) {
        const QStringList fields = CommaText::split(line);
        if (fields.isEmpty())
            continue;
        // identityOf finds the first line of a name.
        const QString key = TextCompare::foldNoCase(fields.first());
        if (!media.contains(key))
            media.insert(key, identityFrom(fields));
    }
    return media;
}

template <typename Accept>
QStringList VolumeStore::catalogsWhere(const QString &uuid, Accept accept) const
{
    QStringList names;
    if (uuid.isEmpty())
        return names;
    for (const QString &line : m_lines) {
        const QStringList fields = CommaText::split(line);
        const VolumeIdentity identity = identityFrom(fields);
        if (identity.uuid.compare(uuid, Qt::CaseInsensitive) == 0 && accept(identity))
            names << fields.first();
    }
    return names;
}

QStringList VolumeStore::catalogsOf(const QString &uuid, const QString &subPath) const
{
    return catalogsWhere(uuid,
                         [&subPath](const VolumeIdentity &identity) { return identity.holds(subPath); });
}

QStringList VolumeStore::catalogsWithin(const QString &uuid, const QString &subPath) const
{
    return catalogsWhere(
        uuid, [&subPath](const VolumeIdentity &identity) { return below(identity.subPath, subPath); });
}

void VolumeStore::record(const QString &catalog, const VolumeIdentity &identity)
{
    const qsizetype i = indexOf(catalog);
    if (i < 0)
        m_lines << lineOf(catalog, identity);
    else
        m_lines[i] = lineOf(catalog, identity, CommaText::split(m_lines.at(i)).mid(FieldCount));
}

void VolumeStore::recordScan(const QString &catalog, const VolumeIdentity &identity)
{
    if (identity.hasUuid())
        record(catalog, identity);
    else
        remove(catalog);
}

void VolumeStore::rename(QStringView oldName, const QString &newName)
{
    const qsizetype i = indexOf(oldName);
    if (i < 0)
        return;
    QStringList fields = CommaText::split(m_lines.at(i));
    fields[NameField] = newName;
    m_lines[i] = CommaText::join(fields);
    if (TextCompare::equalNoCase(oldName, newName))
        return;
    // The stale line of the new name, wherever it stands.
    for (qsizetype k = m_lines.size() - 1; k >= 0; --k) {
        const QStringList other = CommaText::split(m_lines.at(k));
        if (k != i && !other.isEmpty() && TextCompare::equalNoCase(other.first(), newName))
            m_lines.removeAt(k);
    }
}

void VolumeStore::remove(QStringView catalog)
{
    for (qsizetype i = indexOf(catalog); i >= 0; i = indexOf(catalog))
        m_lines.removeAt(i);
}
