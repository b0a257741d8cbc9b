#include "ExtensionMatcher.h"

#include "TextLower.h"
#include "indexing/WildcardMatch.h"

namespace {

inline bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\' || c == u':';
}

// Position of the last ".", "/", "\" or ":" in text, or -1.
qsizetype lastMark(QStringView text)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == u'.' || isSeparator(text[i]))
            return i;
    }
    return -1;
}

// Compares the lowered text with wanted, character by character.
bool lowerEquals(QStringView text, QStringView wanted)
{
    if (text.size() != wanted.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (TextLower::lowerChar(text[i].unicode()) != wanted[i].unicode())
            return false;
    }
    return true;
}

} // namespace

ExtensionMatcher::ExtensionMatcher(const QString &pattern) : m_pattern(TextLower::lower(pattern))
{
    if (m_pattern == QLatin1String("*.*")) {
        m_kind = Kind::Everything;
    } else if (m_pattern == QLatin1String("*.") || m_pattern == QLatin1String("*")) {
        m_kind = Kind::NoExtension;
    } else if (m_pattern.contains(u'?')) {
        m_kind = Kind::Wildcard;
        m_wildcard = m_pattern + u'*';
    } else {
        m_kind = Kind::Exact;
    }
}

bool ExtensionMatcher::hasExtension(QStringView path, QStringView name)
{
    const qsizetype inName = lastMark(name);
    if (inName >= 0)
        return name[inName] == u'.';
    const qsizetype inPath = lastMark(path);
    return inPath >= 0 && path[inPath] == u'.';
}

// "*" followed by the lowered extension equals the pattern.
bool ExtensionMatcher::extensionEquals(QStringView path, QStringView name) const
{
    if (!m_pattern.startsWith(u'*'))
        return false;
    const QStringView wanted = QStringView(m_pattern).mid(1);
    const qsizetype inName = lastMark(name);
    if (inName >= 0)
        return name[inName] == u'.' && lowerEquals(name.mid(inName), wanted);
    // A name without a dot can only have an extension that begins in a path
    // that does not end in a separator.
    const qsizetype inPath = lastMark(path);
    if (inPath < 0 || path[inPath] != u'.')
        return false;
    const QStringView head = path.mid(inPath);
    return head.size() + name.size() == wanted.size() && lowerEquals(head, wanted.left(head.size())) &&
           lowerEquals(name, wanted.mid(head.size()));
}

bool ExtensionMatcher::matches(QStringView line)
{
    m_fields.parse(line);
    const QStringView name = m_fields.field(0);
    if (name.isEmpty())
        return false;
    const QStringView path = m_fields.field(3);
    switch (m_kind) {
    case Kind::Everything:
        return true;
    case Kind::NoExtension:
        return !hasExtension(path, name);
    case Kind::Wildcard:
        TextLower::lowerInto(name, m_loweredName);
        return WildcardMatch(m_loweredName, m_wildcard);
    case Kind::Exact:
        return extensionEquals(path, name);
    }
    return false;
}
