#pragma once

#include <QString>
#include <QStringList>

// The comma-text syntax shared by every catalog, information and tree line:
// each field in double quotes, fields joined by commas.
namespace CommaText {

// Writes fields as one line. A double quote inside a field is doubled (the
// parser reads the pair back as one) and line breaks become blanks, since a
// stored line can never hold one.
QString join(const QStringList &fields);
// Appends one field as join writes it, quotes included.
void appendField(QString &line, QStringView field);

// Splits a line into its fields. A field missing at the end of the line is
// absent from the result; an empty or blank line gives no field.
QStringList split(QStringView line);

// Characters 1 to 32 are skipped between fields.
inline bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// Field k of a parsed line, or an empty text when the line has fewer fields.
inline QString field(const QStringList &fields, int k)
{
    return k < fields.size() ? fields.at(k) : QString();
}

} // namespace CommaText
