#pragma once

#include "library/DateFormats.h"

#include <QHash>
#include <QString>

// Writes file time stamps as DateFormats::formatStamp does, but fast enough
// for a scan of millions of files: the local-time offset is looked up once
// per hour and the date text made once per day. An hour in which the offset
// changes (a daylight-saving switch) goes through DateFormats itself.
class StampFormatter
{
public:
    explicit StampFormatter(const DateFormats &formats);

    QString format(qint64 secondsSinceEpoch);

private:
    // The hour's offset from UTC in seconds, or NoOffset when it changes
    // within the hour.
    int hourOffset(qint64 hour);

    static constexpr int NoOffset = 1 << 30;

    DateFormats m_formats;
    QHash<qint64, int> m_offsets;
    QHash<qint64, QString> m_dates;
    qint64 m_lastStamp = 0;
    QString m_lastText;
};
