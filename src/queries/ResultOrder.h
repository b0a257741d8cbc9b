#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The order of the sorted line lists (TextCompare::compareLinesUtf8) on
// result lines held in two parts, the catalog line and its catalog's name,
// without putting each line together: most pairs are told apart inside
// their catalog lines.
class ResultOrder
{
public:
    int compare(QByteArrayView head, QByteArrayView tail, QByteArrayView otherHead, QByteArrayView otherTail);

private:
    QByteArray m_line;
    QByteArray m_otherLine;
};
