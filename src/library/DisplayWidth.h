#pragma once

#include <QStringView>

// Columns a text takes in a terminal or a monospace editor, whatever the
// process locale: East Asian wide and full-width characters and emoji take
// two, combining marks and zero-width characters none, the rest one.
// Measured per character (a surrogate pair is one character); a lone
// surrogate half, written out as a replacement, takes one.
namespace DisplayWidth {

int ofCharacter(char32_t c);
int of(QStringView text);

} // namespace DisplayWidth
