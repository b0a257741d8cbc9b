#include "TerminalText.h"

#include <algorithm>
#include <unistd.h>

namespace TerminalText {

bool isTerminal(FILE *stream)
{
    return isatty(fileno(stream)) == 1;
}

QString visible(const QString &text, bool keepLineBreaks)
{
    const auto isControl = [keepLineBreaks](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && !(keepLineBreaks && u == u'\n')) || (u >= 0x7F && u <= 0x9F);
    };
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isControl(c))
            shown += c;
        else if (u < 0x20)
            shown += QChar(0x2400 + u);
        else if (u == 0x7F)
            shown += QChar(0x2421);
        else
            shown += QStringLiteral("<U+%1>").arg(unsigned(u), 4, 16, QLatin1Char('0')).toUpper();
    }
    return shown;
}

} // namespace TerminalText
