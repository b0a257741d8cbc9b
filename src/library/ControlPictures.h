#pragma once

#include <QString>
#include <QStringView>

// Control characters in names and comments would act when a file or page
// is shown (a terminal runs an escape sequence, an HTML parser rejects the
// page) or vanish from print. Written out they get a visible stand-in:
// C0 controls become their pictures U+2400..U+241F ("\x1b" -> U+241B),
// DEL becomes U+2421, and the C1 controls U+0080..U+009F, which have no
// pictures, become "<U+0085>" as the pager less shows them.
namespace ControlPictures {

enum class LineBreaks {
    Pictured, // CR and LF are shown as pictures too
    Kept,     // CR and LF stay, for a writer that lays out lines itself
};

bool isControl(char32_t c);

// The text with every control replaced; the text itself when it has none.
QString visible(QStringView text, LineBreaks lineBreaks = LineBreaks::Pictured);

} // namespace ControlPictures
