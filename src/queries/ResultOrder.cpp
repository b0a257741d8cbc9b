#include "ResultOrder.h"

#include "library/TextCompare.h"

int ResultOrder::compare(QByteArrayView head, QByteArrayView tail, QByteArrayView otherHead,
                         QByteArrayView otherTail)
{
    if (const int decided = TextCompare::comparePrimaryWithin(head, otherHead))
        return decided;
    // Lines alike in their letters, one a start of the other, or the same
    // entry in two catalogs: the names may decide, so the whole lines are
    // compared.
    m_line.resize(0);
    m_line.append(head).append(tail);
    m_otherLine.resize(0);
    m_otherLine.append(otherHead).append(otherTail);
    return TextCompare::compareLinesUtf8(m_line, m_otherLine);
}
