#include "Utf8Fields.h"

namespace Utf8Fields {

QString text(QByteArrayView line, const Span &span)
{
    QString out = QString::fromUtf8(line.sliced(span.start, span.length));
    if (span.escaped)
        out.replace(QLatin1String("\"\""), QLatin1String("\""));
    return out;
}

QString text(QByteArrayView line, int k)
{
    Span span;
    return find(line, k, span) ? text(line, span) : QString();
}

QByteArray bytes(QByteArrayView line, const Span &span)
{
    QByteArray out = line.sliced(span.start, span.length).toByteArray();
    if (span.escaped)
        out.replace("\"\"", "\"");
    return out;
}

} // namespace Utf8Fields
