#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

class DateFormats;

// Reads the dates of the search panel and of stored entries: two or three
// numbers joined by the date separator, in the order of the user's short
// date format. A two-digit year falls in the hundred years around the
// current year (with 2026: 76 to 99 mean 1976 to 1999, 00 to 75 mean 2000
// to 2075); with two numbers the year is the current year.
class DateReader
{
public:
    enum class Order { MonthDayYear, DayMonthYear, YearMonthDay };

    DateReader(Order order, QChar separator, int currentYear);
    DateReader(const DateFormats &formats, int currentYear);

    // Day-month-year when the first of the letters d, m, y, e in the format
    // is d, year-month-day when it is y or e, month-day-year otherwise.
    static Order orderOf(QStringView shortDateFormat);
    // "'<text>' is not a valid date"
    static QString invalidDateMessage(const QString &text);

    Order order() const { return m_order; }

    // A date typed by the user: blanks and one trailing separator are all
    // that may follow the numbers. An invalid QDate when it is not a date.
    QDate read(QStringView text) const;
    // The date of a stored date and time: what follows the numbers must be
    // nothing or begin with a blank (the time).
    QDate readEntry(QStringView dateField) const;

private:
    QDate readDate(QStringView text, bool timeMayFollow) const;
    int expandYear(int year) const;

    Order m_order;
    QChar m_separator;
    int m_currentYear;
};
