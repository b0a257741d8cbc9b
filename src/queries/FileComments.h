#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The rules of file comments shared by the comment window and the
// command-line tool: the pre-defined list and the comment of one entry in a
// catalog's lines.
namespace FileComments {

// A catalog line holds one entry, so a comment is one line: each line break
// (CR LF, CR, LF or a Unicode line or paragraph separator) becomes a blank.
QString oneLine(const QString &text);

// The pre-defined list is kept in ascending order without regard to case.
void sortPredefined(QStringList &list);
// Inserts text at its sorted place.
void insertSorted(QStringList &list, const QString &text);
// Adds text unless it is empty or an item equals it with the letters A-Z
// compared without regard to case; true when it was added.
bool addPredefined(QStringList &list, const QString &text);
// Replaces item index by text, moved to its sorted place; an empty text
// leaves the list as it is. An equal item elsewhere is not looked for.
bool editPredefined(QStringList &list, int index, const QString &text);
// Removes the item that equals text, or else the first one equal with the
// letters A-Z compared without regard to case; false when there is none.
bool removePredefined(QStringList &list, const QString &text);
// The text after a pre-defined comment was added to it: the item alone, or
// the old text, a blank and the item.
QString withPredefined(const QString &text, const QString &item);

// An entry's full path is the one the table shows: its folder followed by
// its name (the entry key, letter case included).
// The comments of the lines whose full path is path, in line order.
QStringList commentsOf(const QStringList &lines, const QString &path);
// Sets the comment of every line whose full path is path and returns how
// many lines hold that path. Only those lines are rebuilt; the others stay
// exactly as they were.
int setCommentOf(QStringList &lines, const QString &path, const QString &comment);
// The same on a catalog file's bytes: out holds the new file, in which
// every byte but those of path's lines is kept as it was (its code page
// too, unless the comment needs UTF-8). Returns how many lines changed.
qsizetype setCommentInFile(const QByteArray &bytes, const QString &path, const QString &comment,
                           QByteArray &out);

} // namespace FileComments
