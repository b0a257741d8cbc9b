#include "CellFields.h"

#include "CommaText.h"

namespace CellFields {

QString text(QStringView line, const Span &span)
{
    QString out = line.mid(span.start, span.length).toString();
    if (span.escaped)
        out.replace(QLatin1String("\"\""), QLatin1String("\""));
    return out;
}

QString text(QStringView line, int k)
{
    Span span;
    return find(line, k, span) ? text(line, span) : QString();
}

bool hasFields(QStringView line)
{
    for (QChar c : line) {
        if (c.unicode() == 0)
            return false;
        if (!CommaText::isBlank(c))
            return true;
    }
    return false;
}

} // namespace CellFields
