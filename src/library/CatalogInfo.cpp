#include "CatalogInfo.h"

#include "CommaText.h"

namespace {

constexpr int FixedFields = CatalogInfo::FixedFieldCount;

const char *const kFieldLabels[FixedFields] = {
    "Number of files",
    "Number of Directories",
    "Drive",
    "Path",
    "Total Space",
    "Free Space",
    "Type",
    "Last Update",
    "Hidden Files",
    "Read-Only Files",
    "System Files",
    "Sub-Directories",
    "Hidden Directories",
    "ZIP Contents",
    "Number of Masks",
};

bool isTrue(const QString &field)
{
    return field == QLatin1String("True");
}

} // namespace

QString CatalogInfo::flagText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

QString CatalogInfo::fieldLabel(qsizetype field)
{
    if (field < 0 || field >= FixedFields)
        return QStringLiteral("Mask");
    return QLatin1String(kFieldLabels[field]);
}

QStringList CatalogInfo::dialogLines(const QString &name, const QStringList &fields)
{
    QStringList lines{QStringLiteral("Name: ") + name};
    for (const Field field : {FileCountField, DirectoryCountField, PathField, SizeField, FreeField,
                              DriveTypeField, LastUpdateField})
        lines << fieldLabel(field) + QStringLiteral(": ") + fields.value(field);
    return lines;
}

QString CatalogInfo::toLine() const
{
    QStringList fields{QString::number(fileCount),
                       QString::number(directoryCount),
                       drive,
                       path,
                       sizeText,
                       freeText,
                       driveType,
                       lastUpdate,
                       flagText(options.hiddenFiles),
                       flagText(options.readOnlyFiles),
                       flagText(options.systemFiles),
                       flagText(options.subDirectories),
                       flagText(options.hiddenDirectories),
                       flagText(options.zipContents),
                       QString::number(masks.size())};
    fields += masks;
    return CommaText::join(fields);
}

bool CatalogInfo::fromLine(const QString &line, CatalogInfo &info)
{
    const QStringList f = CommaText::split(line);
    if (f.size() < FixedFields)
        return false;
    CatalogInfo read;
    read.fileCount = f.at(0).toLongLong();
    read.directoryCount = f.at(1).toLongLong();
    read.drive = f.at(2);
    read.path = f.at(3);
    read.sizeText = f.at(4);
    read.freeText = f.at(5);
    read.driveType = f.at(6);
    read.lastUpdate = f.at(7);
    read.options.hiddenFiles = isTrue(f.at(8));
    read.options.readOnlyFiles = isTrue(f.at(9));
    read.options.systemFiles = isTrue(f.at(10));
    read.options.subDirectories = isTrue(f.at(11));
    read.options.hiddenDirectories = isTrue(f.at(12));
    read.options.zipContents = isTrue(f.at(13));
    const qsizetype maskCount = qMax(0, f.at(14).toInt());
    read.masks = f.mid(FixedFields, qMin(maskCount, f.size() - FixedFields));
    info = read;
    return true;
}
