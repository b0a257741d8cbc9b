#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The two-level tree of categories and the catalogs filed under them. A
// node's image index tells its kind: 0 category, 1 CD-ROM, 2 removable,
// 3 fixed and every other drive type. Each level is kept sorted by
// TextCompare::compareTree, new nodes taking their sorted place at once.
class CategoryTree
{
public:
    enum Image { CategoryImage = 0, CdRomImage = 1, RemovableImage = 2, FixedImage = 3 };

    struct Catalog {
        QString name;
        int image = FixedImage;
    };
    struct Category {
        QString name;
        int image = CategoryImage;
        std::vector<Catalog> catalogs;
    };
    // A catalog's place: its category and its position there.
    struct CatalogRef {
        int category = -1;
        int catalog = -1;
        bool isValid() const { return category >= 0 && catalog >= 0; }
    };

    static int imageForDriveType(const QString &driveType);

    bool isEmpty() const { return m_categories.empty(); }
    int categoryCount() const { return int(m_categories.size()); }
    const Category &category(int i) const { return m_categories.at(size_t(i)); }
    const std::vector<Category> &categories() const { return m_categories; }
    int catalogCount() const;

    // Returns the new category's position.
    int addCategory(const QString &name, int image = CategoryImage);
    void removeCategory(int i);
    // Renames and re-sorts; returns the category's new position.
    int renameCategory(int i, const QString &name);
    CatalogRef addCatalog(int category, const QString &name, int image);
    void removeCatalog(CatalogRef ref);
    CatalogRef renameCatalog(CatalogRef ref, const QString &name);
    CatalogRef moveCatalog(CatalogRef ref, int toCategory);
    void setCatalogImage(CatalogRef ref, int image);
    const Catalog &catalog(CatalogRef ref) const;

    // Position of the category named name, letters A to Z without regard to
    // case (the add-category check), or -1.
    int findCategory(QStringView name) const;
    // The first catalog of that name without regard to case, in tree order.
    CatalogRef findCatalog(QStringView name) const;
    bool hasCatalogNamedAscii(QStringView name) const;
    bool hasCategoryNamedAscii(QStringView name) const;

    // Master.TXT lines. A line that cannot be loaded whole (a count that is
    // no number, a node without its image digit) adds no node but is kept
    // as it is and saved again with the others, so the catalogs it names are
    // never dropped from the file. Returns the number of such lines.
    int loadLines(const QStringList &lines);
    const QStringList &unloadedLines() const { return m_unloaded; }
    // The sorted lines of the nodes and the kept lines, equal lines once.
    QStringList saveLines() const;
    void clear()
    {
        m_categories.clear();
        m_unloaded.clear();
    }

private:
    int sortedCategoryPosition(const QString &name) const;
    static int sortedCatalogPosition(const Category &c, const QString &name);

    std::vector<Category> m_categories;
    QStringList m_unloaded;
};
