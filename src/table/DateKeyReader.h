#pragma once

#include "library/DateFormats.h"

#include <QList>
#include <QStringView>

#include <limits>

// Turns "File Date" texts into numbers that order as the dates and times
// they show, for sorting a whole column at once. Texts in the usual numeric
// formats are read directly; anything else goes through DateFormats::parse,
// so both paths agree on what a text means. Keys are local wall-clock
// milliseconds: the order the user reads in the column.
class DateKeyReader
{
public:
    // Key of a text that is not a date (an empty date included): earlier
    // than every real date.
    static constexpr qint64 Unreadable = std::numeric_limits<qint64>::min();

    explicit DateKeyReader(const DateFormats &formats);

    qint64 key(QStringView text) const;
    // Whether the formats are simple enough for the direct path.
    bool hasFastPath() const { return m_fast; }

private:
    enum Field { Literal, Day, Month, Year, Hour, Minute, Second, AmPm };
    struct Token {
        Field field = Literal;
        int minDigits = 0;
        int maxDigits = 0;
        QChar literal;
        // Hour: "h" counts 1 to 12 when the format has AM/PM. AmPm: the
        // lower-case texts "am"/"pm" instead of "AM"/"PM".
        bool twelveHour = false;
        bool lowerCase = false;
    };
    using Tokens = QList<Token>;

    static bool tokenise(const QString &format, Tokens &tokens);
    static bool readAmPm(const QString &format, qsizetype &i, Token &t);
    // Reads text with the tokens; false when it does not fit them exactly.
    static bool readFast(const Tokens &tokens, QStringView text, qint64 &key);
    qint64 readSlow(QStringView text) const;

    DateFormats m_formats;
    Tokens m_dateTime;
    Tokens m_dateOnly;
    bool m_fast = false;
};
