#include "DateKeyReader.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

qint64 keyOf(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * kMsecsPerDay + time.msecsSinceStartOfDay();
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

DateKeyReader::DateKeyReader(const DateFormats &formats) : m_formats(formats)
{
    m_fast = tokenise(formats.shortDate(), m_dateOnly) &&
             tokenise(formats.shortDate() + u' ' + formats.longTime(), m_dateTime);
}

bool DateKeyReader::tokenise(const QString &format, Tokens &tokens)
{
    tokens.clear();
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        Token t;
        if (!c.isLetter()) {
            if (c == u'\'')
                return false; // quoted text: leave it to the full parser
            t.literal = c;
            tokens.append(t);
            ++i;
            continue;
        }
        switch (c.unicode()) {
        case u'd':
            t.field = Day;
            break;
        case u'M':
            t.field = Month;
            break;
        case u'y':
            t.field = Year;
            break;
        case u'H':
        case u'h':
            t.field = Hour;
            break;
        case u'm':
            t.field = Minute;
            break;
        case u's':
            t.field = Second;
            break;
        case u'A':
        case u'a':
            if (!readAmPm(format, i, t))
                return false;
            tokens.append(t);
            continue;
        default:
            return false;
        }
        if (t.field == Year ? run != 4 : run > 2)
            return false;
        t.minDigits = run == 1 ? 1 : int(run);
        t.maxDigits = t.field == Year ? 4 : 2;
        // A variable-width number right after another is ambiguous.
        if (run == 1 && !tokens.isEmpty() && tokens.last().field != Literal)
            return false;
        if (!tokens.isEmpty() && tokens.last().field != Literal &&
            tokens.last().minDigits != tokens.last().maxDigits)
            return false;
        t.twelveHour = c == u'h';
        tokens.append(t);
        i += run;
    }
    // "h" is a 12-hour clock only beside an AM/PM field.
    const bool hasAmPm =
        std::any_of(tokens.cbegin(), tokens.cend(), [](const Token &t) { return t.field == AmPm; });
    for (Token &t : tokens)
        t.twelveHour = t.twelveHour && hasAmPm;
    return true;
}

bool DateKeyReader::readAmPm(const QString &format, qsizetype &i, Token &t)
{
    // "AP", "ap", "A" and "a" (Qt's AM/PM fields), in the C locale's texts.
    const QChar c = format.at(i);
    t.field = AmPm;
    t.lowerCase = c == u'a';
    const QChar p = t.lowerCase ? u'p' : u'P';
    i += (i + 1 < format.size() && format.at(i + 1) == p) ? 2 : 1;
    return i >= format.size() || !format.at(i).isLetter();
}

bool DateKeyReader::readFast(const Tokens &tokens, QStringView text, qint64 &key)
{
    int values[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    bool twelveHour = false;
    qsizetype pos = 0;
    for (const Token &t : tokens) {
        if (t.field == Literal) {
            if (pos >= text.size() || text[pos] != t.literal)
                return false;
            ++pos;
            continue;
        }
        if (t.field == AmPm) {
            const QStringView word = text.mid(pos, 2);
            const bool am = word == (t.lowerCase ? u"am" : u"AM");
            if (!am && word != (t.lowerCase ? u"pm" : u"PM"))
                return false;
            values[AmPm] = am ? 1 : 2;
            pos += 2;
            continue;
        }
        int digits = 0;
        int value = 0;
        while (digits < t.maxDigits && pos < text.size() && isDigit(text[pos])) {
            value = value * 10 + (text[pos].unicode() - u'0');
            ++pos;
            ++digits;
        }
        if (digits < t.minDigits)
            return false;
        values[t.field] = value;
        twelveHour = twelveHour || t.twelveHour;
    }
    if (pos != text.size())
        return false;
    if (twelveHour) {
        if (values[Hour] < 1 || values[Hour] > 12 || values[AmPm] == 0)
            return false;
        values[Hour] = values[Hour] % 12 + (values[AmPm] == 2 ? 12 : 0);
    }
    const QDate date(values[Year], values[Month], values[Day]);
    if (!date.isValid() || values[Hour] > 23 || values[Minute] > 59 || values[Second] > 59)
        return false;
    key = keyOf(date, QTime(values[Hour], values[Minute], values[Second]));
    return true;
}

qint64 DateKeyReader::readSlow(QStringView text) const
{
    const QDateTime when = m_formats.parse(text.toString());
    return when.isValid() ? keyOf(when.date(), when.time()) : Unreadable;
}

qint64 DateKeyReader::key(QStringView text) const
{
    text = text.trimmed();
    if (text.isEmpty())
        return Unreadable;
    qint64 k = 0;
    if (m_fast && (readFast(m_dateTime, text, k) || readFast(m_dateOnly, text, k)))
        return k;
    return readSlow(text);
}
