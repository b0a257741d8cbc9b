#pragma once

#include "EarlierSettings.h"

#include <QString>
#include <QStringList>

class SettingsFile;

// The imports of the earlier version's settings: column widths, pre-defined
// comments and file masks, and the information line of an old catalog.
// Each returns the text its row label shows afterwards.
class UpgradeImport
{
public:
    explicit UpgradeImport(EarlierSettings source) : m_source(std::move(source)) {}
    // The settings of the earlier version installed in dir (the registry of
    // the Wine prefix above it); none when there is no prefix.
    static UpgradeImport forDirectory(const QString &dir);

    static const QString Attempting; // "Attempting To Import..."

    // Writes the six widths (100 where none is stored) to section Colsizes.
    // False, with error, when the settings file refuses the write.
    bool importColumnWidths(SettingsFile &settings, QString &label, QString *error = nullptr) const;

    struct ListResult {
        QString label;
        QStringList added; // in stored order, to be added to the list
    };
    ListResult importComments(const QStringList &current) const;
    ListResult importMasks(const QStringList &current) const;

    // The information line of an old catalog of a drive group ("CdRom",
    // "Removable", "Fixed"); empty when the registry does not describe it.
    QString informationLine(const QString &group, const QString &oldName, const QString &files,
                            const QString &directories) const;

    const EarlierSettings &source() const { return m_source; }

private:
    ListResult importList(const QString &section, const QStringList &current, const QString &none,
                          const QString &imported) const;
    static QString flag(qint64 value);

    EarlierSettings m_source;
};
