#pragma once

#include <QString>

// The rule for category names, shared by adding and renaming (menu, in
// place, command line, a scan into a new category). A category name is a
// field of a line of the tree file and a line of the comment file.
class CategoryName
{
public:
    // Why name cannot name a category, as a message for the user, or empty
    // when it can (an empty name too: callers decide what it means).
    static QString problem(const QString &name);
};
