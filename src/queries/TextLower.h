#pragma once

#include <QString>
#include <QStringView>

// The lower-case mapping of the search: one character to one character, so
// a lowered line keeps every field boundary at the same position. Quotes,
// commas and blanks are never produced from other characters.
namespace TextLower {

char16_t lowerChar(char16_t c);
void lowerInto(QStringView text, QString &out);
QString lower(QStringView text);

} // namespace TextLower
