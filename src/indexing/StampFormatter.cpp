#include "StampFormatter.h"

#include <QDateTime>

#include <ctime>

namespace {

constexpr qint64 SecondsPerHour = 3600;
constexpr qint64 SecondsPerDay = 86400;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The offset QDateTime gives a moment in local time, read from the C
// library as QDateTime reads it, but without the zone check Qt makes first
// at every conversion: that check looks at the zone file on disk each time,
// which cost a scan more system calls than its files did.
int localOffset(qint64 secondsSinceEpoch)
{
    const time_t moment = time_t(secondsSinceEpoch);
    struct tm local;
    if (!localtime_r(&moment, &local))
        return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).offsetFromUtc();
    return int(local.tm_gmtoff);
}

} // namespace

StampFormatter::StampFormatter(const DateFormats &formats) : m_formats(formats)
{
    tzset(); // the zone as it is now, as each QDateTime conversion would find it
}

int StampFormatter::hourOffset(qint64 hour)
{
    const auto it = m_offsets.constFind(hour);
    if (it != m_offsets.constEnd())
        return it.value();
    const qint64 start = hour * SecondsPerHour;
    const int first = localOffset(start);
    const int last = localOffset(start + SecondsPerHour - 1);
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
