#include "CommaText.h"

namespace {

using CommaText::skipBlanks;

// Reads a quoted field starting after its opening quote; returns the
// position after the closing quote (or the end of an unclosed field).
qsizetype readQuoted(QStringView line, qsizetype pos, QString &out)
{
    while (pos < line.size()) {
        const QChar c = line[pos];
        if (c == u'"') {
            if (pos + 1 < line.size() && line[pos + 1] == u'"') {
                out += u'"';
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        out += c;
        ++pos;
    }
    return pos;
}

qsizetype readPlain(QStringView line, qsizetype pos, QString &out)
{
    const qsizetype start = pos;
    while (pos < line.size() && line[pos].unicode() > 32 && line[pos] != u',')
        ++pos;
    out = line.mid(start, pos - start).toString();
    return pos;
}

} // namespace

namespace CommaText {

QString join(const QStringList &fields)
{
    QString line;
    qsizetype length = 0;
    for (const QString &f : fields)
        length += f.size() + 3;
    line.reserve(length);
    bool first = true;
    for (const QString &f : fields) {
        if (!first)
            line += u',';
        first = false;
        line += u'"';
        for (QChar c : f) {
            if (c == u'"')
                line += QLatin1String("\"\"");
            else if (c == u'\r' || c == u'\n')
                line += u' ';
            else
                line += c;
        }
        line += u'"';
    }
    return line;
}

QStringList split(QStringView line)
{
    // A NUL ends the text, as it does in the files.
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    if (nul >= 0)
        line = line.left(nul);
    QStringList fields;
    qsizetype pos = skipBlanks(line, 0);
    while (pos < line.size()) {
        QString field;
        if (line[pos] == u'"')
            pos = readQuoted(line, pos + 1, field);
        else
            pos = readPlain(line, pos, field);
        fields.append(field);
        pos = skipBlanks(line, pos);
        if (pos < line.size() && line[pos] == u',')
            pos = skipBlanks(line, pos + 1);
    }
    return fields;
}

} // namespace CommaText
