#include "TextLower.h"

#include <memory>

namespace {

struct LowerTable {
    std::unique_ptr<char16_t[]> map{new char16_t[0x10000]};
    LowerTable()
    {
        for (unsigned c = 0; c < 0x10000; ++c) {
            const char16_t l = QChar(char16_t(c)).toLower().unicode();
            const bool structural = l <= 32 || l == u'"' || l == u',';
            map[c] = (structural && l != c) ? char16_t(c) : l;
        }
    }
};

const char16_t *table()
{
    static const LowerTable t;
    return t.map.get();
}

} // namespace

namespace TextLower {

char16_t lowerChar(char16_t c)
{
    return table()[c];
}

void lowerInto(QStringView text, QString &out)
{
    const char16_t *map = table();
    out.resize(text.size());
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char16_t *src = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = map[src[i]];
}

QString lower(QStringView text)
{
    QString out;
    lowerInto(text, out);
    return out;
}

} // namespace TextLower
