#include "CommaText.h"

#include "CellFields.h"

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
    QStringList fields;
    CellFields::Cursor cursor(line);
    CellFields::Span span;
    while (cursor.next(span))
        fields.append(CellFields::text(line, span));
    return fields;
}

} // namespace CommaText
