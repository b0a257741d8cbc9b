#include "HelpDocument.h"

#include <QRegularExpression>

namespace {

// The six text styles, on black.
enum Style { Normal, Heading, Subheading, Keyword, GroupLink, EntryLink };

QString styled(Style style, const QString &html)
{
    static const char *const css[] = {
        "color:#ffffff",
        "color:#ff0000; font-weight:bold; font-size:large",
        "color:#ff00ff; font-weight:bold",
        "color:#ffff00",
        "color:#00ff00; text-decoration:underline",
        "color:#00ffff; text-decoration:underline",
    };
    return QStringLiteral("<span style=\"%1\">%2</span>").arg(QLatin1String(css[style]), html);
}

QString link(Style style, const QString &anchor, const QString &text)
{
    return QStringLiteral("<a href=\"#%1\">%2</a>").arg(anchor, styled(style, text.toHtmlEscaped()));
}

QString paragraph(const QString &text)
{
    static const QRegularExpression keyword(QStringLiteral("\\{([^}]*)\\}"));
    QString html = text.toHtmlEscaped();
    html.replace(keyword, styled(Keyword, QStringLiteral("\\1")));
    return QStringLiteral("<p>") + styled(Normal, html) + QStringLiteral("</p>\n");
}

// A jump target around its heading: the viewer drops empty anchors.
QString target(const QString &anchor, const QString &heading)
{
    return QStringLiteral("<a name=\"%1\">%2</a>").arg(anchor, heading);
}

using G = HelpDocument::Group;
using E = HelpDocument::Entry;

std::vector<G> buildGroups()
{
    return {
        G{"Catalogs",
          {"A catalog is the list of files found on one disk or directory when it was indexed. Catalogs are "
           "kept in the folder {Catalogs} beside the program and are filed under categories in the tree on "
           "the left."},
          {E{"Create",
             {"Opens the panel that indexes a drive or directory into a new catalog.",
              "1. Choose a drive or directory with the browse button; its type, size and free space show in "
              "the panel's title.",
              "2. Set the options: hidden files and directories, read-only and system files, sub-directories "
              "and the contents of ZIP files. Add file masks such as {*.mp3} to index only those files.",
              "3. Press {Index}. The volume label is offered as the catalog's name.",
              "4. Select a category in the tree, check the name and press {Save}.",
              "Important: a name that is already taken brings a choice of Rename To, Overwrite, Update or "
              "Cancel. Update keeps the comments of files that are still present.",
              "A catalog remembers the medium it was made from by its file system's identity (UUID, label "
              "and type). When the chosen drive or directory lies on a medium that already has a catalog "
              "made from that folder or one above it, {Index} first says {This Medium Is Already Cataloged "
              "As} and the catalog's name: {Yes} updates that catalog instead, {No} indexes the medium as a "
              "new catalog and {Cancel} does neither."}},
           E{"View Selected",
             {"Shows the catalog selected in the tree in the Visual Table. A double click on a catalog does "
              "the same. Selecting a category expands it and tells how many catalogs it holds."}},
           E{"Delete Selected",
             {"Deletes the selected catalog file and removes it from the tree, after asking. The comments of "
              "its files are deleted with it."}},
           E{"Rename Selected",
             {"Renames the selected catalog and its file. Names compare without regard to letter case, so "
              "two "
              "catalogs cannot share a name."}},
           E{"Save Changes",
             {"Writes the comments edited and the rows deleted in the table back into the open catalog, "
              "after "
              "asking. Before another catalog replaces the table you are asked the same question."}},
           E{"Update Selected",
             {"Indexes the selected catalog's disk again with its stored options. Files still present keep "
              "their comments; new files are added and missing ones dropped.",
              "Important: insert the same disk, or point the panel at the same directory, before you press "
              "{Start}.",
              "When the catalog's medium is mounted somewhere other than its stored path (a stick the "
              "desktop mounted under another name), the panel's path shows where it is now and the update "
              "scans it there without asking for the disk; files found again keep their comments and the "
              "catalog's information then holds the new path. A medium that is not mounted is asked for as "
              "before, but a stored path that now holds another medium is refused, since scanning it would "
              "drop every entry; a path you type into the panel is scanned as it is."}},
           E{"Mounted Media",
             {"While the program runs it notices media being mounted. When a medium that catalogs were made "
              "from is mounted, the caption says {<catalog> Is Mounted At <path>} for each of them, and "
              "selecting such a catalog in the tree says the same on the status line for as long as the "
              "medium stays mounted. During an index or update run the caption keeps showing the run's "
              "progress."}},
           E{"Find Duplicates",
             {"Tick the categories to compare, choose whether files compare by name, size and date, and "
              "press "
              "{Start}. The table lists every file found more than once with the catalog it belongs to."}},
           E{"Find Single Copies",
             {"Finds the files that have no second copy: tick the categories and catalogs to look through, "
              "choose whether files compare by name, size and date, and press {Find}. The table lists every "
              "file whose name, size and date only one of the ticked catalogs holds, with that catalog's "
              "name; a file held twice on one disc alone is still listed. Folders are left out, and names "
              "that differ in letter case only are different files.",
              "To see what a disc holds that no other one does, before it is thrown away, right click the "
              "catalog in the tree and choose {Files Found Nowhere Else}. The same panel then names that "
              "catalog and ticks all the others; untick those that do not count as a copy.",
              "{Stop} ends a long run; the caption shows the progress and the count. The result sorts, "
              "searches, prints, exports and copies as search results do."}},
           E{"Report",
             {"Shows one row per catalog: its drive type, total and free space, directory, the date of its "
              "last update, its comment, and the {Label} and {UUID} of the medium it was made from, empty "
              "where none is recorded (catalogs imported from the earlier version). Edit a cell of the "
              "{Comment} column to change the catalog's comment."}},
           E{"View All Catalogs",
             {"Lists the files of every catalog in one table, each with the name of its catalog."}}}},
        G{"Search",
          {"Searches the ticked categories for files whose name, path or comment matches your words.",
           "Type a word or a wild-card pattern and press {Search}. Examples: {*.doc} finds all documents, "
           "{report?.txt} finds report1.txt and reportA.txt, {holiday} finds every name containing it.",
           "A date range limits the search to files dated between the two dates. Earlier words are kept in "
           "the history list; {Clear History} empties it. {Stop} ends a long search."},
          {}},
        G{"Visual Table",
          {"The table on the right shows a catalog, search results or the report. Click a column header to "
           "sort by that column. Right click for more options: copying, pasting, deleting files and resizing "
           "columns."},
          {E{"Save Columns Widths",
             {"Stores the present column widths; they are used every time the table is filled."}},
           E{"Search Table",
             {"Finds a word or phrase in the table. {Find First} starts at the top, {Find Next} goes on from "
              "the last cell found."}},
           E{"Print Table",
             {"Opens the print options: a title, the date and time, borders, page numbers, the font and the "
              "orientation. Preview or print all rows or only the selected region."}},
           E{"Save Contents As",
             {"Saves the table as a formatted text file with aligned columns, or as an HTML page with a "
              "title "
              "of your choice."}}}},
        G{"File Comments",
          {"Every file in a catalog can carry a comment of your own, kept in the catalog file."},
          {E{"Add/Edit",
             {"Opens the comment window for the selected file. Type a comment or pick one of your "
              "pre-defined "
              "comments, then press {Add Comment}. Pressing Enter on a table row opens the same window."}},
           E{"Delete Comment", {"Removes the comment of the selected file, after asking."}},
           E{"Undo Delete", {"Brings back the comment deleted last, while its row is still in the table."}},
           E{"Search And Replace",
             {"Replaces a piece of text by another in the file comments of every catalog at once, working on "
              "the catalog files themselves. Letter case counts; in each comment the first occurrence is "
              "replaced. Only the catalogs in which something changed are rewritten."}}}},
        G{"Categories",
          {"Categories are the folders of the tree; each holds catalogs."},
          {E{"Add", {"Adds a new category; you are asked for its name."}},
           E{"Rename Selected Category", {"Renames the selected category. Its catalogs stay in it."}},
           E{"Delete Selected Category",
             {"Deletes the selected category after asking.", "Important: a category that still holds "
                                                             "catalogs cannot be deleted; move or delete "
                                                             "them first."}}}},
        G{"General",
          {"Settings of the program itself."},
          {E{"Tooltips On/Off",
             {"Switches the hints shown when the pointer rests on a control. The choice is kept."}},
           E{"Set Tooltip And Text Color",
             {"Opens a panel with two colour pickers: the background of every hint and the colour of the "
              "main "
              "window's text. The colours are kept."}},
           E{"Upgrade To v2.0", {"Imports settings and catalogs from the earlier version of the program."}},
           E{"Help", {"Shows this manual."}},
           E{"About", {"Shows the program's name, version and authors."}}}},
        G{"TreeView",
          {"The tree on the left holds categories and their catalogs. Drag a catalog onto another category "
           "to "
           "move it. Click a selected name to rename it in place. Right click for a menu of the commands "
           "that "
           "fit the node: view, rename, delete, comment, update, catalog information and the files found "
           "nowhere else. {Enter} opens the "
           "selected node, {Insert} adds a category and {Delete} deletes the selection."},
          {}},
        G{"Tray Icon",
          {"While the program runs its icon sits in the notification area. Minimising the window hides it "
           "there; a left click on the icon brings the window back. The icon's menu holds {Show Kestrovane} "
           "and {Exit}. Where the desktop has no notification area the window minimises as usual."},
          {}},
        G{"Disclaimer",
          {"This program is provided as it is, without warranty of any kind. The authors are not liable for "
           "any loss of data or other damage that comes from its use. Keep copies of the files you care "
           "about."},
          {}},
    };
}

} // namespace

const std::vector<HelpDocument::Group> &HelpDocument::groups()
{
    static const std::vector<Group> all = buildGroups();
    return all;
}

QString HelpDocument::html()
{
    const auto &all = groups();
    const QString indent = QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
    const QString marker = styled(Keyword, QStringLiteral("&#9632; "));
    QString out = QStringLiteral("<html><body style=\"background-color:#000000\">\n");
    out += QStringLiteral("<p>") + target(topAnchor(), styled(Heading, QStringLiteral("Contents"))) +
           QStringLiteral("</p>\n<p>");
    for (size_t g = 0; g < all.size(); ++g) {
        out += marker + link(GroupLink, groupAnchor(int(g)), all[g].title) + QStringLiteral("<br>\n");
        for (size_t e = 0; e < all[g].entries.size(); ++e)
            out += indent + link(EntryLink, entryAnchor(int(g), int(e)), all[g].entries[e].title) +
                   QStringLiteral("<br>\n");
    }
    out += QStringLiteral("</p>\n");
    for (size_t g = 0; g < all.size(); ++g) {
        out += QStringLiteral("<hr><p>") +
               target(groupAnchor(int(g)), styled(Heading, all[g].title.toHtmlEscaped())) +
               QStringLiteral("&nbsp;&nbsp;") + link(GroupLink, topAnchor(), QStringLiteral("\u2191")) +
               QStringLiteral("</p>\n");
        for (const QString &text : all[g].paragraphs)
            out += paragraph(text);
        for (size_t e = 0; e < all[g].entries.size(); ++e) {
            const Entry &entry = all[g].entries[e];
            out += QStringLiteral("<p>") +
                   target(entryAnchor(int(g), int(e)), styled(Subheading, entry.title.toHtmlEscaped())) +
                   QStringLiteral("</p>\n");
            for (const QString &text : entry.paragraphs)
                out += paragraph(text);
        }
    }
    return out + QStringLiteral("</body></html>\n");
}
