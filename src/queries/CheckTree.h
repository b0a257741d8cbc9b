#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class CategoryTree;

// The ticked copy of the category tree that the search and the duplicate
// finder walk: the categories that hold at least one catalog, in tree order,
// each with its catalogs. Every box starts unticked.
class CheckTree
{
public:
    struct Node {
        QString text;
        int image = 0;
        bool checked = false;
    };
    struct Category {
        Node node;
        std::vector<Node> catalogs;
    };

    CheckTree() = default;
    explicit CheckTree(const CategoryTree &tree) { rebuild(tree); }

    void rebuild(const CategoryTree &tree);

    bool isEmpty() const { return m_categories.empty(); }
    int categoryCount() const { return int(m_categories.size()); }
    const Category &category(int i) const { return m_categories.at(size_t(i)); }
    const std::vector<Category> &categories() const { return m_categories; }

    // Ticking or unticking a category carries its state to all its catalogs.
    void setCategoryChecked(int category, bool checked);
    // After the view changed a category's box itself: its catalogs follow.
    void categoryClicked(int category);
    // A catalog's box changes that catalog alone.
    void setCatalogChecked(int category, int catalog, bool checked);
    void setAllChecked(bool checked);

    // The catalogs a run takes, in tree order.
    QStringList checkedCatalogs() const;

private:
    std::vector<Category> m_categories;
};
