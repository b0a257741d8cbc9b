#include "DateRangeMatcher.h"

DateRangeMatcher::DateRangeMatcher(const QDate &from, const QDate &to, const DateReader &reader)
    : m_from(from), m_to(to), m_reader(reader)
{}

bool DateRangeMatcher::matches(QStringView line)
{
    m_fields.parse(line);
    const QStringView date = m_fields.field(2);
    if (date.isEmpty())
        return false;
    const QDate when = m_reader.readEntry(date);
    return when.isValid() && m_from < when && when < m_to;
}
