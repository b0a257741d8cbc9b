#include "DateReader.h"

#include "library/DateFormats.h"

namespace {

inline bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

qsizetype skipBlanks(QStringView text, qsizetype pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

// Reads an unsigned decimal number at pos; -1 when there is none or it is
// too long to be part of a date.
int readNumber(QStringView text, qsizetype &pos)
{
    const qsizetype start = pos;
    int value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        if (pos - start >= 9)
            return -1;
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
    }
    return pos > start ? value : -1;
}

} // namespace

DateReader::DateReader(Order order, QChar separator, int currentYear)
    : m_order(order), m_separator(separator), m_currentYear(currentYear)
{}

DateReader::DateReader(const DateFormats &formats, int currentYear)
    : DateReader(orderOf(formats.shortDate()), formats.dateSeparator(), currentYear)
{}

DateReader::Order DateReader::orderOf(QStringView shortDateFormat)
{
    for (QChar c : shortDateFormat) {
        switch (c.toLower().unicode()) {
        case u'd':
            return Order::DayMonthYear;
        case u'y':
        case u'e':
            return Order::YearMonthDay;
        case u'm':
            return Order::MonthDayYear;
        default:
            break;
        }
    }
    return Order::MonthDayYear;
}

QString DateReader::invalidDateMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid date").arg(text);
}

QDate DateReader::read(QStringView text) const
{
    return readDate(text, false);
}

QDate DateReader::readEntry(QStringView dateField) const
{
    return readDate(dateField, true);
}

int DateReader::expandYear(int year) const
{
    if (year >= 100)
        return year;
    int full = m_currentYear - m_currentYear % 100 + year;
    if (full > m_currentYear + 49)
        full -= 100;
    else if (full < m_currentYear - 50)
        full += 100;
    return full;
}

QDate DateReader::readDate(QStringView text, bool timeMayFollow) const
{
    int numbers[3] = {0, 0, 0};
    int count = 0;
    qsizetype pos = 0;
    while (count < 3) {
        pos = skipBlanks(text, pos);
        const int n = readNumber(text, pos);
        if (n < 0) {
            // Only after a separator may the numbers end early.
            if (count == 0)
                return {};
            break;
        }
        numbers[count++] = n;
        const qsizetype afterNumber = pos;
        pos = skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == m_separator) {
            ++pos;
        } else {
            pos = afterNumber;
            break;
        }
    }
    if (count < 2)
        return {};
    // A user's date may be followed by blanks only; a stored one by a blank
    // and its time.
    const qsizetype rest = skipBlanks(text, pos);
    if (rest < text.size() && !(timeMayFollow && rest > pos))
        return {};

    int year = m_currentYear;
    int month = 0;
    int day = 0;
    if (count == 3) {
        switch (m_order) {
        case Order::DayMonthYear:
            day = numbers[0], month = numbers[1], year = expandYear(numbers[2]);
            break;
        case Order::YearMonthDay:
            year = expandYear(numbers[0]), month = numbers[1], day = numbers[2];
            break;
        case Order::MonthDayYear:
            month = numbers[0], day = numbers[1], year = expandYear(numbers[2]);
            break;
        }
    } else if (m_order == Order::DayMonthYear) {
        day = numbers[0], month = numbers[1];
    } else {
        month = numbers[0], day = numbers[1];
    }
    return QDate(year, month, day); // invalid for an impossible date
}
