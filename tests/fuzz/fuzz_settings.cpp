// Reading Kestrovane.INI: sections, keys, numbers and saved lists. Every
// access reads the whole file, so each input is read a few times only.
#include "FuzzSupport.h"

#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SettingsFile settings(FuzzSupport::writeScratchFile(data, size));
    const QString sections[] = {QStringLiteral("Global"), QStringLiteral("Colsizes"),
                                QStringLiteral("Global.Masklistbox_Items")};
    const QString count = QStringLiteral("Count");
    for (const QString &section : sections) {
        const QString value = settings.readString(section, QStringLiteral("Item0"), QStringLiteral("-"));
        FuzzSupport::check(value.size() <= SettingsFile::MaxStringLength,
                           "a value is cut to the longest string");
        const int number = settings.readInteger(section, count, -1);
        FuzzSupport::check(number == -1 || settings.hasKey(section, count),
                           "a missing key gives the default");
        const QStringList items = settings.readList(section);
        FuzzSupport::check(items.size() <= qMax(number, 0), "a list holds no more than its count");
    }
    return 0;
}
