#include "DateKeyReader.h"

#include <QDate>
#include <QTime>

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
    m_fast = tokenise(formats.shortDate(), m_dateOnly)
        && tokenise(formats.shortDate() + u' ' + formats.longTime(), m_dateTime);
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
        case u'd': t.field = Day; break;
        case u'M': t.field = Month; break;
        case u'y': t.field = Year; break;
        case u'H':
        case u'h': t.field = Hour; break;
        case u'm': t.field = Minute; break;
        case u's': t.field = Second; break;
        default: return false;
        }
        if (t.field == Year ? run != 4 : run > 2)
            return false;
        t.minDigits = run == 1 ? 1 : int(run);
        t.maxDigits = t.field == Year ? 4 : 2;
        // A variable-width number right after another is ambiguous.
        if (run == 1 && !tokens.isEmpty() && tokens.last().field != Literal)
            return false;
        if (!tokens.isEmpty() && tokens.last().field != Literal
            && tokens.last().minDigits != tokens.last().maxDigits)
            return false;
        tokens.append(t);
        i += run;
    }
    return true;
}

bool DateKeyReader::readFast(const Tokens &tokens, QStringView text, qint64 &key)
{
    int values[7] = {0, 0, 0, 0, 0, 0, 0};
    qsizetype pos = 0;
    for (const Token &t : tokens) {
        if (t.field == Literal) {
            if (pos >= text.size() || text[pos] != t.literal)
                return false;
            ++pos;
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
    }
    if (pos != text.size())
        return false;
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
