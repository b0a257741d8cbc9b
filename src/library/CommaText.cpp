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
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        appendField(line, fields.at(i));
    }
    return line;
}

void appendField(QString &line, QStringView field)
{
    line += u'"';
    qsizetype plain = 0;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != u'"' && c != u'\r' && c != u'\n')
            continue;
        line += field.mid(plain, i - plain);
        line += c == u'"' ? QStringView(u"\"\"") : QStringView(u" ");
        plain = i + 1;
    }
    line += field.mid(plain);
    line += u'"';
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
