#include "CatalogLines.h"

#include "LineFields.h"
#include "library/CatalogLibrary.h"
#include "library/CellFields.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "library/Utf8Fields.h"

#include <QFileInfo>

namespace {

constexpr int kEntryFields = 5;

// How many fields the line has, counting no further than most: a whole
// entry line, the usual case, is then never copied field by field.
int fieldsUpTo(QStringView line, int most)
{
    CellFields::Cursor cursor(line);
    CellFields::Span span;
    int count = 0;
    while (count < most && cursor.next(span))
        ++count;
    return count;
}

// A field as CommaText::appendField writes it. A span with doubled quotes
// already holds them as they are written; any other holds no quote unless
// it is bare, where each is doubled.
void appendQuotedField(QByteArray &out, QByteArrayView line, const Utf8Fields::Span &span)
{
    const QByteArrayView field = line.sliced(span.start, span.length);
    out.append('"');
    qsizetype plain = 0;
    if (!span.escaped) {
        for (qsizetype quote; (quote = field.indexOf('"', plain)) >= 0; plain = quote + 1)
            out.append(field.sliced(plain, quote + 1 - plain)).append('"');
    }
    out.append(field.sliced(plain)).append('"');
}

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
    const int fields = fieldsUpTo(line, kEntryFields);
    if (fields == 0)
        return QString();
    if (fields >= kEntryFields) {
        QString out;
        out.reserve(line.size() + name.size() + 1);
        out.append(line).append(u',').append(name);
        return out;
    }
    // Written out again as join() would, straight into the result: a long
    // damaged line is not copied field by field first.
    scratch.parse(line);
    qsizetype length = name.size() + 1;
    for (int k = 0; k < kEntryFields; ++k)
        length += scratch.field(k).size() + 3;
    QString out;
    out.reserve(length);
    for (int k = 0; k < kEntryFields; ++k) {
        if (k > 0)
            out += u',';
        CommaText::appendField(out, scratch.field(k));
    }
    return out.append(u',').append(name);
}

bool resultHeadUtf8(QByteArrayView line, QByteArray &out)
{
    out.resize(0);
    Utf8Fields::Cursor cursor(line);
    Utf8Fields::Span spans[kEntryFields];
    int count = 0;
    while (count < kEntryFields && cursor.next(spans[count]))
        ++count;
    if (count == 0)
        return false;
    if (count == kEntryFields) {
        out.append(line);
        return true;
    }
    // Lines stored by the program never lack fields: this is a damaged
    // line, so the rebuilt one may be long and is sized first.
    out.reserve(2 * line.size() + 3 * kEntryFields);
    for (int k = 0; k < kEntryFields; ++k) {
        if (k > 0)
            out.append(',');
        if (k < count)
            appendQuotedField(out, line, spans[k]);
        else
            out.append("\"\"");
    }
    return true;
}

bool resultLineUtf8(QByteArrayView line, QByteArrayView name, QByteArray &out)
{
    out.reserve(line.size() + name.size() + 1);
    if (!resultHeadUtf8(line, out))
        return false;
    out.append(',').append(name);
    return true;
}

} // namespace CatalogLines
