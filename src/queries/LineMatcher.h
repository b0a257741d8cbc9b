#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

// A test of catalog lines, one per search mode. Matchers keep parsing
// buffers between calls, so one matcher serves one run at a time.
class LineMatcher
{
public:
    using Found = std::function<void(QStringView line)>;
    using FoundUtf8 = std::function<void(QByteArrayView line)>;

    virtual ~LineMatcher() = default;

    virtual bool matches(QStringView line) = 0;

    // Hands every matching line of a whole catalog file's text to found, in
    // file order. Lines end at CR LF, CR or LF.
    virtual void findIn(QStringView text, const Found &found);
    // The same for a piece of whole lines of valid UTF-8. found gets each
    // matching line decoded, exactly as findIn would hand it over.
    virtual void findInUtf8(QByteArrayView text, const Found &found);
    // The same, handing over each matching line as UTF-8: the bytes of the
    // line findInUtf8 would decode.
    virtual void findLinesInUtf8(QByteArrayView text, const FoundUtf8 &found);

    // Where the line holding position pos begins and ends.
    static qsizetype lineStart(QStringView text, qsizetype pos);
    static qsizetype lineEnd(QStringView text, qsizetype pos);

private:
    QString m_decoded;
    QByteArray m_encoded;
};
