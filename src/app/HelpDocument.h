#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The program's manual as one HTML document for a rich-text viewer on a
// black background: a contents list of links, one section per command
// group with its entries, and a closing disclaimer. Every contents link
// names an anchor of the document; every section's up-arrow goes to "top".
class HelpDocument
{
public:
    struct Entry {
        QString title;
        QStringList paragraphs; // {word} marks a keyword
    };
    struct Group {
        QString title;
        QStringList paragraphs;
        std::vector<Entry> entries;
    };

    static const std::vector<Group> &groups();
    static QString html();
    static QString groupAnchor(int group) { return QStringLiteral("g%1").arg(group); }
    static QString entryAnchor(int group, int entry)
    {
        return QStringLiteral("g%1e%2").arg(group).arg(entry);
    }
    static QString topAnchor() { return QStringLiteral("top"); }
};
