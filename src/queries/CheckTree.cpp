#include "CheckTree.h"

#include "library/CategoryTree.h"

void CheckTree::rebuild(const CategoryTree &tree)
{
    m_categories.clear();
    for (const CategoryTree::Category &c : tree.categories()) {
        if (c.catalogs.empty())
            continue;
        Category copy;
        copy.node = Node{c.name, c.image, false};
        for (const CategoryTree::Catalog &k : c.catalogs)
            copy.catalogs.push_back(Node{k.name, k.image, false});
        m_categories.push_back(std::move(copy));
    }
}

void CheckTree::setCategoryChecked(int category, bool checked)
{
    if (category < 0 || category >= categoryCount())
        return;
    m_categories[size_t(category)].node.checked = checked;
    categoryClicked(category);
}

void CheckTree::categoryClicked(int category)
{
    if (category < 0 || category >= categoryCount())
        return;
    Category &c = m_categories[size_t(category)];
    for (Node &k : c.catalogs)
        k.checked = c.node.checked;
}

void CheckTree::setCatalogChecked(int category, int catalog, bool checked)
{
    if (category < 0 || category >= categoryCount())
        return;
    std::vector<Node> &catalogs = m_categories[size_t(category)].catalogs;
    if (catalog < 0 || size_t(catalog) >= catalogs.size())
        return;
    catalogs[size_t(catalog)].checked = checked;
}

void CheckTree::setAllChecked(bool checked)
{
    for (int i = 0; i < categoryCount(); ++i)
        setCategoryChecked(i, checked);
}

QStringList CheckTree::checkedCatalogs() const
{
    QStringList names;
    for (const Category &c : m_categories) {
        for (const Node &k : c.catalogs) {
            if (k.checked)
                names << k.text;
        }
    }
    return names;
}
