#pragma once

#include "DateReader.h"
#include "LineFields.h"
#include "LineMatcher.h"

#include <QDate>

// Search by file date: an entry matches when its date lies strictly between
// the two bounds (an entry dated on either bound day is not found). An
// entry with an empty date, or one whose date cannot be read, never matches.
class DateRangeMatcher : public LineMatcher
{
public:
    DateRangeMatcher(const QDate &from, const QDate &to, const DateReader &reader);

    bool matches(QStringView line) override;

private:
    QDate m_from;
    QDate m_to;
    DateReader m_reader;
    LineFields m_fields;
};
