#include "CatalogLines.h"

#include "LineFields.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/TextFile.h"

#include <QFileInfo>

namespace {

constexpr int kEntryFields = 5;

} // namespace

namespace CatalogLines {

bool readText(const CatalogLibrary &library, const QString &catalog, QString &text, QStringList &unreadable)
{
    text.clear();
    const QString path = library.catalogFilePath(catalog);
    if (!QFileInfo(path).isFile())
        return false;
    if (!TextFile::readText(path, text)) {
        unreadable << catalog;
        return false;
    }
    return true;
}

QString quotedName(const QString &catalog)
{
    return CommaText::join({catalog});
}

QString resultLine(QStringView line, const QString &name, LineFields &scratch)
{
    scratch.parse(line);
    if (scratch.count() == 0)
        return QString();
    if (scratch.count() >= kEntryFields) {
        QString out;
        out.reserve(line.size() + name.size() + 1);
        out.append(line).append(u',').append(name);
        return out;
    }
    QStringList fields;
    for (int k = 0; k < kEntryFields; ++k)
        fields << scratch.field(k).toString();
    return CommaText::join(fields) + u',' + name;
}

} // namespace CatalogLines
