#include "ColumnWidths.h"

#include "SettingsFile.h"

namespace {

QList<int> readSection(const SettingsFile &settings, const QString &section, int count,
                       int missing = ColumnWidths::DefaultWidth)
{
    QList<int> widths;
    for (int i = 0; i < count; ++i)
        widths << settings.readInteger(section, QStringLiteral("Col%1").arg(i), missing);
    return widths;
}

bool saveSection(SettingsFile &settings, const QString &section, const QList<int> &widths)
{
    QList<QPair<QString, QString>> values;
    for (int i = 0; i < widths.size(); ++i)
        values.append({QStringLiteral("Col%1").arg(i), QString::number(widths.at(i))});
    return settings.writeStrings(section, values);
}

} // namespace

namespace ColumnWidths {

QList<int> readCatalog(const SettingsFile &settings, int missing)
{
    return readSection(settings, QStringLiteral("Colsizes"), 6, missing);
}

QList<int> readReport(const SettingsFile &settings, int count)
{
    return readSection(settings, QStringLiteral("Reportcolsizes"), count);
}

bool saveCatalog(SettingsFile &settings, const QList<int> &widths)
{
    return saveSection(settings, QStringLiteral("Colsizes"), widths);
}

bool saveReport(SettingsFile &settings, const QList<int> &widths)
{
    return saveSection(settings, QStringLiteral("Reportcolsizes"), widths);
}

} // namespace ColumnWidths
