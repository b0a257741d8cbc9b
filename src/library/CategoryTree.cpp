#include "CategoryTree.h"

#include "CellFields.h"
#include "CommaText.h"
#include "TextCompare.h"

#include <algorithm>

int CategoryTree::imageForDriveType(const QString &driveType)
{
    if (driveType == QLatin1String("CdRom"))
        return CdRomImage;
    if (driveType == QLatin1String("Removable"))
        return RemovableImage;
    return FixedImage;
}

int CategoryTree::catalogCount() const
{
    int n = 0;
    for (const Category &c : m_categories)
        n += int(c.catalogs.size());
    return n;
}

int CategoryTree::sortedCategoryPosition(const QString &name) const
{
    auto it = std::upper_bound(
        m_categories.begin(), m_categories.end(), name,
        [](const QString &n, const Category &c) { return TextCompare::compareTree(n, c.name) < 0; });
    return int(it - m_categories.begin());
}

int CategoryTree::sortedCatalogPosition(const Category &c, const QString &name)
{
    auto it =
        std::upper_bound(c.catalogs.begin(), c.catalogs.end(), name, [](const QString &n, const Catalog &k) {
            return TextCompare::compareTree(n, k.name) < 0;
        });
    return int(it - c.catalogs.begin());
}

int CategoryTree::addCategory(const QString &name, int image)
{
    const int pos = sortedCategoryPosition(name);
    Category c;
    c.name = name;
    c.image = image;
    m_categories.insert(m_categories.begin() + pos, std::move(c));
    return pos;
}

void CategoryTree::removeCategory(int i)
{
    m_categories.erase(m_categories.begin() + i);
}

int CategoryTree::renameCategory(int i, const QString &name)
{
    Category c = std::move(m_categories[size_t(i)]);
    m_categories.erase(m_categories.begin() + i);
    c.name = name;
    const int pos = sortedCategoryPosition(name);
    m_categories.insert(m_categories.begin() + pos, std::move(c));
    return pos;
}

CategoryTree::CatalogRef CategoryTree::addCatalog(int category, const QString &name, int image)
{
    Category &c = m_categories[size_t(category)];
    const int pos = sortedCatalogPosition(c, name);
    c.catalogs.insert(c.catalogs.begin() + pos, Catalog{name, image});
    return {category, pos};
}

void CategoryTree::removeCatalog(CatalogRef ref)
{
    auto &list = m_categories[size_t(ref.category)].catalogs;
    list.erase(list.begin() + ref.catalog);
}

CategoryTree::CatalogRef CategoryTree::renameCatalog(CatalogRef ref, const QString &name)
{
    const int image = catalog(ref).image;
    removeCatalog(ref);
    return addCatalog(ref.category, name, image);
}

CategoryTree::CatalogRef CategoryTree::moveCatalog(CatalogRef ref, int toCategory)
{
    const Catalog moved = catalog(ref);
    removeCatalog(ref);
    return addCatalog(toCategory, moved.name, moved.image);
}

void CategoryTree::setCatalogImage(CatalogRef ref, int image)
{
    m_categories[size_t(ref.category)].catalogs[size_t(ref.catalog)].image = image;
}

const CategoryTree::Catalog &CategoryTree::catalog(CatalogRef ref) const
{
    return m_categories.at(size_t(ref.category)).catalogs.at(size_t(ref.catalog));
}

int CategoryTree::findCategory(QStringView name) const
{
    for (size_t i = 0; i < m_categories.size(); ++i) {
        if (TextCompare::equalAsciiNoCase(m_categories[i].name, name))
            return int(i);
    }
    return -1;
}

CategoryTree::CatalogRef CategoryTree::findCatalog(QStringView name) const
{
    for (size_t i = 0; i < m_categories.size(); ++i) {
        const auto &list = m_categories[i].catalogs;
        for (size_t k = 0; k < list.size(); ++k) {
            if (TextCompare::equalNoCase(list[k].name, name))
                return {int(i), int(k)};
        }
    }
    return {};
}

bool CategoryTree::hasCatalogNamedAscii(QStringView name) const
{
    for (const Category &c : m_categories) {
        for (const Catalog &k : c.catalogs) {
            if (TextCompare::equalAsciiNoCase(k.name, name))
                return true;
        }
    }
    return false;
}

bool CategoryTree::hasCategoryNamedAscii(QStringView name) const
{
    return findCategory(name) >= 0;
}

namespace {

// A field of an image digit followed by a name; false when malformed.
// Fields are read in place, so a damaged line of any length is never
// copied.
bool splitNode(QStringView line, const CellFields::Span &field, int &image, QString &name)
{
    if (field.length == 0)
        return false;
    const QChar first = line[field.start];
    if (!first.isDigit() || first.unicode() > '9')
        return false;
    image = first.digitValue();
    // A digit is no quote, so the rest unescapes on its own.
    name = CellFields::text(line, CellFields::Span{field.start + 1, field.length - 1, field.escaped});
    return true;
}

// A parsed Master.TXT line, or false when any part of it is malformed.
bool parseTreeLine(QStringView line, CategoryTree::Category &category)
{
    CellFields::Cursor cursor(line);
    CellFields::Span count;
    CellFields::Span node;
    if (!cursor.next(count) || !cursor.next(node))
        return false;
    // A count holding a quote is no number.
    bool ok = false;
    const int n = count.escaped ? 0 : line.sliced(count.start, count.length).trimmed().toInt(&ok);
    if (!ok || !splitNode(line, node, category.image, category.name))
        return false;
    if (n <= 0)
        return true; // further fields are ignored
    CellFields::Span field;
    while (cursor.next(field)) {
        CategoryTree::Catalog catalog;
        if (!splitNode(line, field, catalog.image, catalog.name))
            return false;
        category.catalogs.push_back(catalog);
    }
    return true;
}

} // namespace

int CategoryTree::loadLines(const QStringList &lines)
{
    int unloaded = 0;
    for (const QString &line : lines) {
        if (QStringView(line).trimmed().isEmpty())
            continue;
        Category parsed;
        if (!parseTreeLine(line, parsed)) {
            m_unloaded << line;
            ++unloaded;
            continue;
        }
        const int category = addCategory(parsed.name, parsed.image);
        for (const Catalog &catalog : parsed.catalogs)
            addCatalog(category, catalog.name, catalog.image);
    }
    return unloaded;
}

QStringList CategoryTree::saveLines() const
{
    QStringList lines;
    for (const Category &c : m_categories) {
        QStringList fields;
        fields << QString::number(c.catalogs.size()) << QString::number(c.image) + c.name;
        for (const Catalog &k : c.catalogs)
            fields << QString::number(k.image) + k.name;
        lines << CommaText::join(fields);
    }
    lines << m_unloaded;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const QString &a, const QString &b) { return TextCompare::compareNoCase(a, b) < 0; });
    lines.erase(
        std::unique(lines.begin(), lines.end(),
                    [](const QString &a, const QString &b) { return TextCompare::compareNoCase(a, b) == 0; }),
        lines.end());
    return lines;
}
