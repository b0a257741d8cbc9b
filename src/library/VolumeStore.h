#pragma once

#include "VolumeIdentity.h"

#include <QHash>
#include <QStringList>

#include <optional>

// The media the catalogs were made from: the lines of Catalogs/Volumes, one
// per catalog in comma text (catalog name, UUID, label, type, sub-path).
// Catalog names match without regard to case, as in Catalogs/Master. Lines
// this version cannot read, and fields after the fifth, are kept as they
// are.
class VolumeStore
{
public:
    VolumeStore() = default;
    explicit VolumeStore(const QStringList &lines) : m_lines(lines) {}

    const QStringList &lines() const { return m_lines; }
    void setLines(const QStringList &lines) { m_lines = lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }

    std::optional<VolumeIdentity> identityOf(QStringView catalog) const;
    // Every catalog's medium at once, keyed by TextCompare::foldNoCase of
    // the catalog's name, each as identityOf finds it: for asking about many
    // catalogs without reading every line for each of them.
    QHash<QString, VolumeIdentity> identitiesByName() const;
    // The catalogs made from the medium uuid whose sub-path holds subPath
    // (the asked path's place on that medium), in stored order.
    QStringList catalogsOf(const QString &uuid, const QString &subPath) const;
    // The catalogs of the medium uuid made from subPath or a folder below it.
    QStringList catalogsWithin(const QString &uuid, const QString &subPath) const;

    // Replaces what is stored for catalog, or adds its line.
    void record(const QString &catalog, const VolumeIdentity &identity);
    // The medium a catalog was just scanned from: recorded when it has a
    // UUID; otherwise the catalog keeps no line, not even an older medium's.
    void recordScan(const QString &catalog, const VolumeIdentity &identity);
    // Moves the line of oldName to newName; a line newName had before (left
    // by a catalog deleted outside the program) goes.
    void rename(QStringView oldName, const QString &newName);
    void remove(QStringView catalog);

private:
    qsizetype indexOf(QStringView catalog) const;
    template <typename Accept>
    QStringList catalogsWhere(const QString &uuid, Accept accept) const;

    QStringList m_lines;
};
