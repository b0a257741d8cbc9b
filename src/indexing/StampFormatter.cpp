#include "StampFormatter.h"

#include <QDateTime>

namespace {

constexpr qint64 SecondsPerHour = 3600;
constexpr qint64 SecondsPerDay = 86400;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace

int StampFormatter::hourOffset(qint64 hour)
{
    const auto it = m_offsets.constFind(hour);
    if (it != m_offsets.constEnd())
        return it.value();
    const qint64 start = hour * SecondsPerHour;
    const int first = QDateTime::fromSecsSinceEpoch(start).offsetFromUtc();
    const int last = QDateTime::fromSecsSinceEpoch(start + SecondsPerHour - 1).offsetFromUtc();
    const int offset = first == last ? first : NoOffset;
    m_offsets.insert(hour, offset);
    return offset;
}

QString StampFormatter::format(qint64 secondsSinceEpoch)
{
    if (secondsSinceEpoch == 0)
        return QString();
    const qint64 even = secondsSinceEpoch - (((secondsSinceEpoch % 2) + 2) % 2);
    if (even == m_lastStamp && !m_lastText.isEmpty())
        return m_lastText;
    const int offset = hourOffset(floorDiv(even, SecondsPerHour));
    if (offset == NoOffset)
        return m_formats.formatStamp(secondsSinceEpoch);

    const qint64 local = even + offset;
    const qint64 day = floorDiv(local, SecondsPerDay);
    const int secondOfDay = int(local - day * SecondsPerDay);
    auto date = m_dates.constFind(day);
    if (date == m_dates.constEnd())
        date = m_dates.insert(day, QDate(1970, 1, 1).addDays(day).toString(m_formats.shortDate()));
    QString text = date.value();
    if (secondOfDay != 0)
        text += u' ' + QTime::fromMSecsSinceStartOfDay(secondOfDay * 1000).toString(m_formats.longTime());
    m_lastStamp = even;
    m_lastText = text;
    return text;
}
