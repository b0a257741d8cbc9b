#include "PairList.h"

#include "TextCompare.h"

qsizetype PairList::indexOf(QStringView name) const
{
    for (qsizetype i = 0; i < m_lines.size(); i += 2) {
        if (TextCompare::equalNoCase(m_lines.at(i), name))
            return i;
    }
    return -1;
}

QString PairList::value(QStringView name) const
{
    const qsizetype i = indexOf(name);
    return i >= 0 ? m_lines.value(i + 1) : QString();
}

void PairList::setValue(const QString &name, const QString &value)
{
    const qsizetype i = indexOf(name);
    if (i < 0) {
        append(name, value);
    } else if (i + 1 < m_lines.size()) {
        m_lines[i + 1] = value;
    } else {
        m_lines.append(value);
    }
}

void PairList::append(const QString &name, const QString &value)
{
    // A file cut short after a name line leaves an odd count; keep pairs aligned.
    if (m_lines.size() % 2 != 0)
        m_lines.append(QString());
    m_lines.append(name);
    m_lines.append(value);
}

bool PairList::rename(QStringView oldName, const QString &newName)
{
    const qsizetype i = indexOf(oldName);
    if (i < 0)
        return false;
    m_lines[i] = newName;
    return true;
}

bool PairList::remove(QStringView name)
{
    const qsizetype i = indexOf(name);
    if (i < 0)
        return false;
    m_lines.remove(i, qMin<qsizetype>(2, m_lines.size() - i));
    return true;
}
