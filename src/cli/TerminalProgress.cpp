#include "TerminalProgress.h"

#include "TerminalText.h"

#include "library/DisplayWidth.h"

#include <QList>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const QString kEllipsis = QStringLiteral("…");
// Clears the line and puts the cursor at its start.
const char *const kClearLine = "\r\033[K";

// The longest start of text (whole characters) that takes at most columns.
qsizetype headFitting(const QList<uint> &text, int columns)
{
    qsizetype n = 0;
    for (int used = 0; n < text.size(); ++n) {
        used += DisplayWidth::ofCharacter(text.at(n));
        if (used > columns)
            break;
    }
    return n;
}

qsizetype tailFitting(const QList<uint> &text, int columns)
{
    qsizetype n = 0;
    for (int used = 0; n < text.size(); ++n) {
        used += DisplayWidth::ofCharacter(text.at(text.size() - 1 - n));
        if (used > columns)
            break;
    }
    return n;
}

QString fromUcs4(const QList<uint> &text, qsizetype from, qsizetype count)
{
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(text.constData() + from), count);
}

// text in at most columns, its middle replaced by "…" when it is wider.
QString middleElided(const QString &text, int columns)
{
    if (DisplayWidth::of(text) <= columns)
        return text;
    if (columns < 1)
        return QString();
    const QList<uint> chars = text.toUcs4();
    const int room = columns - 1;
    const qsizetype head = headFitting(chars, room / 2);
    const int headWidth = DisplayWidth::of(fromUcs4(chars, 0, head));
    const qsizetype tail = tailFitting(chars, room - headWidth);
    return fromUcs4(chars, 0, head) + kEllipsis + fromUcs4(chars, chars.size() - tail, tail);
}

} // namespace

TerminalProgress::TerminalProgress(QTextStream &err, bool quiet)
    : m_err(err),
      m_draws(!quiet && isatty(STDERR_FILENO) == 1 && qgetenv("TERM") != QByteArrayLiteral("dumb"))
{}

TerminalProgress::~TerminalProgress()
{
    finish();
}

int TerminalProgress::terminalWidth()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && columns > 0 ? columns : 80;
}

QString TerminalProgress::fitted(const QString &counts, const QString &text, int width)
{
    const QString start = middleElided(counts, width);
    const int room = width - DisplayWidth::of(start) - 2;
    if (text.isEmpty() || room < 2)
        return start;
    return start + QStringLiteral("  ") + middleElided(text, room);
}

void TerminalProgress::status(const QString &text)
{
    // The folder scanned is the first the scan finds, though it reports
    // only the ones below it.
    if (++m_phase == 1)
        m_folders = 1;
    m_status = text;
    m_item.clear();
    show();
}

// Only a text that is shown is kept: the scan then reuses its buffer
// instead of copying every file's path.
void TerminalProgress::progress(const QString &text)
{
    ++(m_phase <= 1 ? m_folders : m_files);
    if (!m_draws || tooSoon())
        return;
    m_item = text;
    show();
}

void TerminalProgress::finish()
{
    if (!m_shown)
        return;
    m_err << kClearLine;
    m_err.flush();
    m_shown = false;
}

// The first item of a phase is shown at once, the others at most ten times
// a second.
bool TerminalProgress::tooSoon() const
{
    return !m_item.isEmpty() && m_sinceShown.isValid() && m_sinceShown.elapsed() < 100;
}

QString TerminalProgress::counts() const
{
    const QString folders =
        m_folders == 1 ? QStringLiteral("1 folder") : QStringLiteral("%1 folders").arg(m_folders);
    if (m_phase <= 1)
        return folders + QStringLiteral(" found");
    return folders + (m_files == 1 ? QStringLiteral(", 1 file listed")
                                   : QStringLiteral(", %1 files listed").arg(m_files));
}

void TerminalProgress::show()
{
    if (!m_draws)
        return;
    m_sinceShown.start();
    // A line as wide as the terminal would wrap on some terminals; one column
    // is left free. Only the line's own escapes reach the terminal, never a
    // name's.
    const QString text = TerminalText::visible(m_item.isEmpty() ? m_status : m_item);
    m_err << kClearLine << fitted(counts(), text, terminalWidth() - 1);
    m_err.flush();
    m_shown = true;
}
