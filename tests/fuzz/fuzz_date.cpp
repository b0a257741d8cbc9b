// The date reader on arbitrary text. The first byte picks the order of the
// short date format ('0' month-day-year, '1' day-month-year, '2'
// year-month-day), the second is the date separator, the rest is the text
// as UTF-8; so seeds read as "0/06/24/97".
#include "FuzzSupport.h"

#include "queries/DateReader.h"

namespace {

constexpr DateReader::Order Orders[] = {DateReader::Order::MonthDayYear, DateReader::Order::DayMonthYear,
                                        DateReader::Order::YearMonthDay};

// The date written in the reader's order with a four-digit year.
QString written(const QDate &date, DateReader::Order order, QChar separator)
{
    const QString d = QString::number(date.day());
    const QString m = QString::number(date.month());
    const QString y = QString::number(date.year());
    switch (order) {
    case DateReader::Order::DayMonthYear:
        return d + separator + m + separator + y;
    case DateReader::Order::YearMonthDay:
        return y + separator + m + separator + d;
    case DateReader::Order::MonthDayYear:
        break;
    }
    return m + separator + d + separator + y;
}

void checkText(const DateReader &reader, QChar separator, QStringView text)
{
    const QDate typed = reader.read(text);
    const QDate stored = reader.readEntry(text);
    if (typed.isValid()) {
        // A stored date may be followed by more than a typed one, never less.
        FuzzSupport::check(stored == typed, "a typed date reads the same as a stored one");
        // A year below 100 would be read as a two-digit year; digits that
        // are the separator cannot be written back.
        if (typed.year() >= 100 && !separator.isDigit())
            FuzzSupport::check(reader.read(written(typed, reader.order(), separator)) == typed,
                               "a date written in the reader's order reads back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const DateReader::Order order = Orders[data[0] % 3];
    const QChar separator = QLatin1Char(char(data[1]));
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    for (int year : {2026, 1999, 2075})
        checkText(DateReader(order, separator, year), separator, text);
    return 0;
}
