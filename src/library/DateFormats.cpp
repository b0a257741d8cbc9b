#include "DateFormats.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

DateFormats::DateFormats(const QString &shortDate, const QString &longTime)
    : m_shortDate(shortDate), m_longTime(longTime)
{}

DateFormats DateFormats::fromSystem()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C || locale.name() == QLatin1String("C"))
        return DateFormats();
    return DateFormats(normaliseDate(locale.dateFormat(QLocale::ShortFormat)),
                       normaliseTime(locale.timeFormat(QLocale::LongFormat)));
}

QString DateFormats::normaliseDate(const QString &format)
{
    QString f = format;
    // Day names have no place in a numeric date.
    f.remove(QRegularExpression(QStringLiteral("d{3,4}[,.]?\\s*")));
    f.replace(QRegularExpression(QStringLiteral("M{3,4}")), QStringLiteral("MM"));
    f.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    f = f.trimmed();
    if (!f.contains(u'd') || !f.contains(u'M') || !f.contains(QLatin1String("yyyy")))
        return QStringLiteral("MM/dd/yyyy");
    return f;
}

QString DateFormats::normaliseTime(const QString &format)
{
    QString f = format;
    f.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    f = f.trimmed();
    if (!f.contains(u'm'))
        return QStringLiteral("HH:mm:ss");
    return f;
}

QChar DateFormats::dateSeparator() const
{
    for (QChar c : m_shortDate) {
        if (!c.isLetter())
            return c;
    }
    return u'/';
}

QString DateFormats::format(const QDateTime &when) const
{
    const QString date = when.date().toString(m_shortDate);
    if (when.time() == QTime(0, 0))
        return date;
    return date + u' ' + when.time().toString(m_longTime);
}

QString DateFormats::formatStamp(qint64 secondsSinceEpoch) const
{
    if (secondsSinceEpoch == 0)
        return QString();
    const qint64 even = secondsSinceEpoch - (((secondsSinceEpoch % 2) + 2) % 2);
    return format(QDateTime::fromSecsSinceEpoch(even));
}

QDateTime DateFormats::parse(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDateTime dt = QDateTime::fromString(t, m_shortDate + u' ' + m_longTime);
    if (dt.isValid())
        return dt;
    const QDate d = QDate::fromString(t, m_shortDate);
    if (d.isValid())
        return QDateTime(d, QTime(0, 0));
    return {};
}
