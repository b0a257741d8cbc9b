#include "indexing/WildcardMatch.h"

#include "indexing/CellWildcardMatch.h"

#include <QVarLengthArray>

// The matcher's rules differ from the table search's plain globbing in one
// place only: once the text is used up, the rest of the pattern must be
// empty or exactly one "*". So a pattern ending in two or more stars matches
// when the part before them matches a proper prefix of the text, which is
// the glob "<part>?*"; any other pattern matches exactly as a glob.
bool WildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype stem = pattern.size();
    while (stem > 0 && pattern[stem - 1] == u'*')
        --stem;
    if (pattern.size() - stem < 2)
        return CellWildcardMatch(text, pattern);

    // Patterns of every length are matched whole; the usual short ones stay
    // off the heap.
    QVarLengthArray<char16_t, 256> rewritten(stem + 2);
    for (qsizetype i = 0; i < stem; ++i)
        rewritten[i] = pattern[i].unicode();
    rewritten[stem] = u'?';
    rewritten[stem + 1] = u'*';
    return CellWildcardMatch(text, QStringView(rewritten.constData(), rewritten.size()));
}

bool HasQuestionMark(QStringView mask)
{
    return mask.contains(u'?');
}

QStringView FileExtension(QStringView fileName)
{
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName[i];
        if (c == u'.')
            return fileName.mid(i);
        if (c == u'/' || c == u'\\' || c == u':')
            break;
    }
    return {};
}

bool MaskAccepts(QStringView mask, QStringView fileName)
{
    const QStringView ext = FileExtension(fileName);
    // "*.*" stands for every file, as users type it.
    if (mask == u"*.*")
        return true;
    if (mask == u"*." || mask == u"*")
        return ext.isEmpty();
    const QString lowerExt = ext.toString().toLower();
    if (HasQuestionMark(mask) && !ext.isEmpty())
        return WildcardMatch(lowerExt, mask.toString() + u'*');
    return u'*' + lowerExt == mask.toString().toLower();
}

bool PassesMasks(const QStringList &masks, QStringView fileName)
{
    for (const QString &mask : masks) {
        if (MaskAccepts(mask, fileName))
            return true;
    }
    return false;
}
