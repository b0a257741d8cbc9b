// Reading Kestrovane.INI: sections, keys, numbers and saved lists.
#include "FuzzSupport.h"

#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SettingsFile settings(FuzzSupport::writeScratchFile(data, size));
    const QString sections[] = {QStringLiteral("Global"), QStringLiteral("Colsizes"),
                                QStringLiteral("Global.Masklistbox_Items"),
                                QStringLiteral("Global.Searchword_Items")};
    const QString keys[] = {QStringLiteral("Count"), QStringLiteral("Item0"),
                            QStringLiteral("NormPos"), QStringLiteral("TooltipsOn1_Checked"),
                            QStringLiteral("Col0")};
    for (const QString &section : sections) {
        for (const QString &key : keys) {
            const QString value = settings.readString(section, key, QStringLiteral("-"));
            FuzzSupport::check(value.size() <= SettingsFile::MaxStringLength,
                               "a value is cut to the longest string");
            const bool present = settings.hasKey(section, key);
            FuzzSupport::check(present || value == QStringLiteral("-"),
                               "a missing key gives the default");
            settings.readInteger(section, key, -1);
        }
        const QStringList items = settings.readList(section);
        FuzzSupport::check(items.size() <= 100000, "a damaged count cannot run away");
    }
    return 0;
}
