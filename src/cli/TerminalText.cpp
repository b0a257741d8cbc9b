#include "TerminalText.h"

#include "library/ControlPictures.h"

#include <unistd.h>

namespace TerminalText {

bool isTerminal(FILE *stream)
{
    return isatty(fileno(stream)) == 1;
}

QString visible(const QString &text, bool keepLineBreaks)
{
    return ControlPictures::visible(text, keepLineBreaks ? ControlPictures::LineBreaks::Kept
                                                         : ControlPictures::LineBreaks::Pictured);
}

} // namespace TerminalText
