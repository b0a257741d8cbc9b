#pragma once

#include <QDateTime>
#include <QString>

// The user's short date and long time formats, normalised so the program's
// date rules can read what it writes: numeric dates with four-digit years and
// times without a time zone. One object is handed to the code that needs it,
// so tests can fix the formats.
class DateFormats
{
public:
    DateFormats() = default;
    DateFormats(const QString &shortDate, const QString &longTime);

    // From LC_TIME (QLocale::system()); the C and POSIX locales give
    // "MM/dd/yyyy" and "HH:mm:ss".
    static DateFormats fromSystem();
    static QString normaliseDate(const QString &format);
    static QString normaliseTime(const QString &format);

    const QString &shortDate() const { return m_shortDate; }
    const QString &longTime() const { return m_longTime; }
    // The first character of the short date format that is not a letter.
    QChar dateSeparator() const;

    // Date, a space and time; the time and space are left out at exactly
    // 00:00:00.
    QString format(const QDateTime &when) const;
    // A file time stamp: seconds since the epoch (0 gives an empty text),
    // shown in local time rounded down to even seconds.
    QString formatStamp(qint64 secondsSinceEpoch) const;
    // Reads a text written by format(); an invalid QDateTime when it cannot.
    QDateTime parse(const QString &text) const;

private:
    QString m_shortDate = QStringLiteral("MM/dd/yyyy");
    QString m_longTime = QStringLiteral("HH:mm:ss");
};
