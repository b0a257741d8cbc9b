#pragma once

#include <QString>

#include <cstdio>

// Text bound for a terminal. Names come from anywhere (a catalogued file
// named with an escape sequence), and control characters in them would act
// on the user's terminal: recolour it, move the cursor, hide lines. On a
// terminal they are shown as visible symbols instead; a file or a pipe gets
// the exact text.
namespace TerminalText {

bool isTerminal(FILE *stream);

// Control characters as ControlPictures shows them. With keepLineBreaks CR
// and LF stay as they are, for messages of several lines.
QString visible(const QString &text, bool keepLineBreaks = false);

} // namespace TerminalText
