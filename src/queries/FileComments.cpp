#include "FileComments.h"

#include "library/CatalogBytes.h"
#include "library/CatalogSaving.h"
#include "library/CommaText.h"
#include "library/TextCompare.h"

#include <algorithm>

namespace FileComments {

QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // the LF of the pair gives the blank
        const bool lineBreak =
            c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        line += lineBreak ? QChar(u' ') : c;
    }
    return line;
}

namespace {

bool before(const QString &a, const QString &b)
{
    return TextCompare::compareNoCase(a, b) < 0;
}

} // namespace

void sortPredefined(QStringList &list)
{
    std::stable_sort(list.begin(), list.end(), before);
}

void insertSorted(QStringList &list, const QString &text)
{
    list.insert(std::upper_bound(list.begin(), list.end(), text, before), text);
}

bool addPredefined(QStringList &list, const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QString &item : std::as_const(list)) {
        if (TextCompare::equalAsciiNoCase(item, text))
            return false;
    }
    insertSorted(list, text);
    return true;
}

bool editPredefined(QStringList &list, int index, const QString &text)
{
    if (text.isEmpty() || index < 0 || index >= list.size())
        return false;
    list.removeAt(index);
    insertSorted(list, text);
    return true;
}

bool removePredefined(QStringList &list, const QString &text)
{
    qsizetype at = list.indexOf(text);
    for (qsizetype i = 0; at < 0 && i < list.size(); ++i) {
        if (TextCompare::equalAsciiNoCase(list.at(i), text))
            at = i;
    }
    if (at < 0)
        return false;
    list.removeAt(at);
    return true;
}

QString withPredefined(const QString &text, const QString &item)
{
    return text.isEmpty() ? item : text + QLatin1Char(' ') + item;
}

QStringList commentsOf(const QStringList &lines, const QString &path)
{
    QStringList comments;
    for (const QString &line : lines) {
        const QStringList fields = CommaText::split(line);
        if (!fields.isEmpty() && CatalogSaving::EntryKey(fields) == path)
            comments << CommaText::field(fields, 4);
    }
    return comments;
}

namespace {

// The line with its comment set when it is path's entry, else a null text.
QString commentedLine(const QString &line, const QString &path, const QString &comment)
{
    QStringList fields = CommaText::split(line);
    if (fields.isEmpty() || CatalogSaving::EntryKey(fields) != path)
        return QString();
    while (fields.size() < 5)
        fields << QString();
    fields[4] = oneLine(comment);
    return CatalogSaving::rowLine(fields);
}

} // namespace

int setCommentOf(QStringList &lines, const QString &path, const QString &comment)
{
    int found = 0;
    for (QString &line : lines) {
        QString changed = commentedLine(line, path, comment);
        if (changed.isNull())
            continue;
        ++found;
        line = std::move(changed);
    }
    return found;
}

qsizetype setCommentInFile(const QByteArray &bytes, const QString &path, const QString &comment,
                           QByteArray &out)
{
    return CatalogBytes::editLines(
        bytes, QString(), [&](const QString &line) { return commentedLine(line, path, comment); }, out);
}

} // namespace FileComments
