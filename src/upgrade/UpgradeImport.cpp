#include "UpgradeImport.h"

#include "indexing/VolumeInfo.h"
#include "library/CommaText.h"
#include "library/TextCompare.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <limits>

const QString UpgradeImport::Attempting = QStringLiteral("Attempting To Import...");

UpgradeImport UpgradeImport::forDirectory(const QString &dir)
{
    return UpgradeImport(EarlierSettings(WineRegistry::forDirectory(dir)));
}

bool UpgradeImport::importColumnWidths(SettingsFile &settings, QString &label, QString *error) const
{
    QList<QPair<QString, QString>> widths;
    for (int i = 0; i < 6; ++i) {
        const qint64 width = m_source.readNumber(QStringLiteral("Col"), QStringLiteral("col%1").arg(i), 100);
        widths.append({QStringLiteral("Col%1").arg(i), QString::number(width)});
    }
    if (!settings.writeStrings(QStringLiteral("Colsizes"), widths)) {
        if (error)
            *error = settings.lastError();
        return false;
    }
    label = QStringLiteral("Pre-Set Column Widths Imported");
    return true;
}

UpgradeImport::ListResult UpgradeImport::importComments(const QStringList &current) const
{
    return importList(QStringLiteral("Comments.Commentslist_Items"), current,
                      QStringLiteral("No Comments To Import"),
                      QStringLiteral(" Pre-Defined Comments Imported"));
}

UpgradeImport::ListResult UpgradeImport::importMasks(const QStringList &current) const
{
    return importList(QStringLiteral("Masks"), current, QStringLiteral("No File Mask(s) To Import"),
                      QStringLiteral(" File Mask(s) Imported"));
}

UpgradeImport::ListResult UpgradeImport::importList(const QString &section, const QStringList &current,
                                                    const QString &none, const QString &imported) const
{
    ListResult result;
    const qint64 count = m_source.readNumber(section, QStringLiteral("Count"));
    if (count == 0) {
        result.label = none;
        return result;
    }
    const QStringList items = m_source.readStoredItems(section, count);
    QStringList held = current;
    for (const QString &item : items) {
        const bool present = std::any_of(held.cbegin(), held.cend(), [&](const QString &h) {
            return TextCompare::equalAsciiNoCase(h, item);
        });
        if (item.isEmpty() || present)
            continue;
        held << item;
        result.added << item;
    }
    // The count read, also when some were already held or not stored.
    result.label = QString::number(count) + imported;
    return result;
}

QString UpgradeImport::flag(qint64 value)
{
    return value > 0 ? QStringLiteral("True") : QStringLiteral("False");
}

QString UpgradeImport::informationLine(const QString &group, const QString &oldName, const QString &files,
                                       const QString &directories) const
{
    const QString groupKey = QStringLiteral("Catalogs\\") + group;
    const QString dataName = m_source.readText(groupKey, oldName);
    if (dataName.isEmpty())
        return QString();
    const QString key = groupKey + u'\\' + dataName;
    auto text = [&](const char *name) { return m_source.readText(key, QLatin1String(name)); };
    auto number = [&](const char *name) { return m_source.readNumber(key, QLatin1String(name)); };
    // The earlier version counted the volume's size in kilobytes, its free
    // space in bytes.
    const qint64 sizeBytes = std::min(number("Full"), std::numeric_limits<qint64>::max() / 1024) * 1024;
    QStringList fields{files,
                       directories,
                       text("Drive"),
                       text("Directory"),
                       VolumeInfo::sizeText(sizeBytes),
                       VolumeInfo::sizeText(number("Free")),
                       text("DrType"),
                       text("Updatedate"),
                       QStringLiteral("True"),
                       QStringLiteral("True"),
                       QStringLiteral("True"),
                       flag(number("Sub")),
                       flag(number("Hidden")),
                       flag(number("Zip"))};
    const QStringList masks = m_source.readItems(key);
    fields << QString::number(masks.size()) << masks;
    return CommaText::join(fields);
}
