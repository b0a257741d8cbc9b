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

} // namespace

namespace ColumnWidths {

QList<int> readCatalog(const SettingsFile &settings, int missing)
{
    return readSection(settings, QStringLiteral("Colsizes"), 6, missing);
}

QList<int> readReport(const SettingsFile &settings)
{
    return readSection(settings, QStringLiteral("Reportcolsizes"), 7);
}

int readOne(const SettingsFile &settings, int columnCount, int column)
{
    if (columnCount < 5)
        return DefaultWidth;
    const QString section = columnCount > 6 ? QStringLiteral("ReportcolSizes") : QStringLiteral("ColSizes");
    return settings.readInteger(section, QStringLiteral("Col%1").arg(column), DefaultWidth);
}

bool save(SettingsFile &settings, const QList<int> &widths)
{
    QString section;
    if (widths.size() == 7)
        section = QStringLiteral("Reportcolsizes");
    else if (widths.size() == 5 || widths.size() == 6)
        section = QStringLiteral("Colsizes");
    else
        return true;
    QList<QPair<QString, QString>> values;
    for (int i = 0; i < widths.size(); ++i)
        values.append({QStringLiteral("Col%1").arg(i), QString::number(widths.at(i))});
    return settings.writeStrings(section, values);
}

} // namespace ColumnWidths
