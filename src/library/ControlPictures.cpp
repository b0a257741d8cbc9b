#include "ControlPictures.h"

#include <algorithm>

namespace {

constexpr char16_t kPictureOfNul = 0x2400;
constexpr char16_t kPictureOfDelete = 0x2421;

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool needsPicture(char16_t c, ControlPictures::LineBreaks lineBreaks)
{
    return ControlPictures::isControl(c) &&
           !(lineBreaks == ControlPictures::LineBreaks::Kept && isLineBreak(c));
}

void appendPicture(QString &out, char16_t c)
{
    if (c < 0x20)
        out += QChar(char16_t(kPictureOfNul + c));
    else if (c == 0x7F)
        out += QChar(kPictureOfDelete);
    else
        out += QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

namespace ControlPictures {

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

QString visible(QStringView text, LineBreaks lineBreaks)
{
    const auto control = [lineBreaks](QChar c) { return needsPicture(c.unicode(), lineBreaks); };
    if (std::none_of(text.begin(), text.end(), control))
        return text.toString();
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (control(c))
            appendPicture(out, c.unicode());
        else
            out += c;
    }
    return out;
}

} // namespace ControlPictures
