#include "SortedLineList.h"

#include "TextCompare.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kFirstBlock = 16 * 1024;
constexpr qsizetype kLargestBlock = 4 * 1024 * 1024;
// A line this long gets a block of its own, so the block being filled is
// not left half empty.
constexpr qsizetype kOwnBlockLine = 64 * 1024;

bool isLoneSurrogateAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    return c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

bool holdsLoneSurrogate(QStringView text)
{
    // A branch-free first look that the compiler vectorizes: almost no
    // line holds a surrogate at all.
    const char16_t *units = text.utf16();
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        any |= (units[i] & 0xF800) == 0xD800;
    if (!any)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate() && isLoneSurrogateAt(text, i))
            return true;
    }
    return false;
}

void appendUnit(QByteArray &out, char32_t code)
{
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6)));
        out.append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18)));
        out.append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    }
}

} // namespace

SortedLineList::SortedLineList(const SortedLineList &other)
{
    other.settle();
    m_sorted.reserve(other.m_sorted.size());
    for (const Line &line : other.m_sorted)
        m_sorted.push_back({store(line.view()), line.size});
}

SortedLineList &SortedLineList::operator=(const SortedLineList &other)
{
    if (this != &other) {
        SortedLineList copy(other);
        swap(copy);
    }
    return *this;
}

SortedLineList::SortedLineList(SortedLineList &&other) noexcept
{
    swap(other);
}

SortedLineList &SortedLineList::operator=(SortedLineList &&other) noexcept
{
    SortedLineList taken(std::move(other));
    swap(taken);
    return *this;
}

SortedLineList::~SortedLineList() = default;

void SortedLineList::swap(SortedLineList &other) noexcept
{
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_takenLines, other.m_takenLines);
    std::swap(m_free, other.m_free);
    std::swap(m_freeSize, other.m_freeSize);
    std::swap(m_nextBlockSize, other.m_nextBlockSize);
    std::swap(m_sorted, other.m_sorted);
    std::swap(m_pending, other.m_pending);
}

bool SortedLineList::lessLine(const Line &a, const Line &b)
{
    return TextCompare::compareLinesUtf8(a.view(), b.view()) < 0;
}

const char *SortedLineList::store(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    if (size == 0)
        return nullptr;
    if (size >= kOwnBlockLine) {
        m_blocks.emplace_back(new char[size_t(size)]); // not zeroed: every byte is written before use
        std::memcpy(m_blocks.back().get(), bytes.data(), size_t(size));
        return m_blocks.back().get();
    }
    if (size > m_freeSize)
        startBlock(size);
    char *at = m_free;
    std::memcpy(at, bytes.data(), size_t(size));
    m_free += size;
    m_freeSize -= size;
    return at;
}

void SortedLineList::startBlock(qsizetype atLeast)
{
    // Small lists stay small; large ones fill big blocks. A line longer
    // than the block's turn gets a block that holds it, or it would be
    // written past the end.
    m_nextBlockSize = qBound(kFirstBlock, m_nextBlockSize * 2, kLargestBlock);
    const qsizetype size = qMax(m_nextBlockSize, atLeast);
    m_blocks.emplace_back(new char[size_t(size)]);
    m_free = m_blocks.back().get();
    m_freeSize = size;
}

void SortedLineList::add(const QString &line)
{
    const qsizetype room = line.size() * 3;
    if (room >= kOwnBlockLine || ::holdsLoneSurrogate(line)) {
        addUtf8(encode(line));
        return;
    }
    // Encoded straight into the block: no temporary per line.
    if (room > m_freeSize)
        startBlock(room);
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    char *end = encoder.appendToBuffer(m_free, line);
    const qsizetype size = end - m_free;
    m_pending.push_back({m_free, size});
    m_free = end;
    m_freeSize -= size;
}

void SortedLineList::addUtf8(QByteArrayView line)
{
    m_pending.push_back({store(line), line.size()});
}

void SortedLineList::addUtf8(QByteArray &&line)
{
    if (line.size() < kOwnBlockLine) {
        addUtf8(QByteArrayView(line));
        return;
    }
    line.squeeze(); // gives back what a reader or an encoder reserved
    m_takenLines.push_back(std::move(line));
    const QByteArray &taken = m_takenLines.back();
    m_pending.push_back({taken.constData(), taken.size()});
}

// Grows by at least half again: an exact reserve on every call would copy
// the whole list each time a scan adds one folder's files.
void SortedLineList::reservePending(size_t more)
{
    const size_t needed = m_pending.size() + more;
    if (needed > m_pending.capacity())
        m_pending.reserve(std::max(needed, m_pending.capacity() + m_pending.capacity() / 2));
}

void SortedLineList::addUtf8Views(QByteArray &&bytes, const std::vector<QByteArrayView> &lines)
{
    if (lines.empty())
        return;
    // Moving a QByteArray never moves its bytes, so the views stay valid.
    m_takenLines.push_back(std::move(bytes));
    const QByteArray &taken = m_takenLines.back();
    reservePending(lines.size());
    for (const QByteArrayView line : lines) {
        Q_ASSERT(line.isEmpty() ||
                 (line.data() >= taken.constData() && line.data() + line.size() <= taken.constEnd()));
        m_pending.push_back({line.isEmpty() ? nullptr : line.data(), line.size()});
    }
}

void SortedLineList::addAll(const QStringList &lines)
{
    reservePending(size_t(lines.size()));
    for (const QString &line : lines)
        add(line);
}

void SortedLineList::merge(SortedLineList &&other)
{
    if (&other == this)
        return;
    other.settle();
    settle();
    // Blocks never move, so other's records stay valid in their new owner.
    for (std::unique_ptr<char[]> &block : other.m_blocks)
        m_blocks.push_back(std::move(block));
    for (QByteArray &line : other.m_takenLines)
        m_takenLines.push_back(std::move(line));
    m_pending = std::move(other.m_sorted);
    other.clear();
    settle();
}

void SortedLineList::clear()
{
    SortedLineList empty;
    swap(empty);
}

void SortedLineList::settle() const
{
    if (m_pending.empty())
        return;
    // Catalog files are stored sorted, so a load usually needs no sort.
    if (!std::is_sorted(m_pending.cbegin(), m_pending.cend(), lessLine))
        std::sort(m_pending.begin(), m_pending.end(), lessLine);
    const auto same = [](const Line &a, const Line &b) { return a.view() == b.view(); };
    m_pending.erase(std::unique(m_pending.begin(), m_pending.end(), same), m_pending.end());
    if (m_sorted.empty()) {
        m_sorted.swap(m_pending);
        m_pending.shrink_to_fit();
        return;
    }
    std::vector<Line> merged;
    merged.reserve(m_sorted.size() + m_pending.size());
    auto a = m_sorted.cbegin();
    auto b = m_pending.cbegin();
    while (a != m_sorted.cend() || b != m_pending.cend()) {
        if (b == m_pending.cend() || (a != m_sorted.cend() && !lessLine(*b, *a))) {
            if (b != m_pending.cend() && same(*a, *b))
                ++b;
            merged.push_back(*a++);
        } else {
            merged.push_back(*b++);
        }
    }
    m_sorted.swap(merged);
    m_pending.clear();
    m_pending.shrink_to_fit();
}

qsizetype SortedLineList::count() const
{
    settle();
    return qsizetype(m_sorted.size());
}

QString SortedLineList::at(qsizetype i) const
{
    return decode(utf8At(i));
}

QByteArrayView SortedLineList::utf8At(qsizetype i) const
{
    settle();
    Q_ASSERT(i >= 0 && size_t(i) < m_sorted.size());
    return m_sorted[size_t(i)].view();
}

qsizetype SortedLineList::indexOf(QStringView text) const
{
    settle();
    const QByteArray bytes = encode(text);
    const QByteArrayView wanted(bytes);
    auto it =
        std::lower_bound(m_sorted.cbegin(), m_sorted.cend(), wanted, [](const Line &line, QByteArrayView t) {
            return TextCompare::compareLinesUtf8(line.view(), t) < 0;
        });
    if (it != m_sorted.cend() && it->view() == wanted)
        return it - m_sorted.cbegin();
    return -1;
}

void SortedLineList::removeAt(qsizetype i)
{
    settle();
    m_sorted.erase(m_sorted.begin() + i);
}

void SortedLineList::keepOnly(const std::vector<bool> &keep)
{
    settle();
    Q_ASSERT(keep.size() == m_sorted.size());
    qsizetype allBytes = 0;
    qsizetype keptBytes = 0;
    size_t kept = 0;
    for (size_t i = 0; i < m_sorted.size(); ++i) {
        allBytes += m_sorted[i].size;
        if (keep[i]) {
            keptBytes += m_sorted[i].size;
            m_sorted[kept++] = m_sorted[i];
        }
    }
    m_sorted.resize(kept);
    m_sorted.shrink_to_fit();
    if (2 * keptBytes < allBytes)
        *this = SortedLineList(*this);
}

SortedLineList::Storage SortedLineList::takeStorage()
{
    settle();
    Storage storage{std::move(m_blocks), std::move(m_takenLines), std::move(m_sorted)};
    clear();
    return storage;
}

QStringList SortedLineList::lines() const
{
    settle();
    QStringList out;
    out.reserve(qsizetype(m_sorted.size()));
    for (const Line &line : m_sorted)
        out.append(decode(line.view()));
    return out;
}

QStringList SortedLineList::takeLines()
{
    QStringList out = lines();
    clear();
    return out;
}

QStringList SortedLineList::takeUnsorted()
{
    QStringList out;
    out.reserve(qsizetype(m_sorted.size() + m_pending.size()));
    for (const Line &line : m_sorted)
        out.append(decode(line.view()));
    for (const Line &line : m_pending)
        out.append(decode(line.view()));
    clear();
    return out;
}

bool SortedLineList::holdsLoneSurrogate(QByteArrayView bytes)
{
    // A surrogate's three-byte form is ED followed by A0 to BF; valid UTF-8
    // never holds that pair. An empty line may have no data at all.
    if (bytes.isEmpty())
        return false;
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while ((p = static_cast<const char *>(std::memchr(p, 0xED, size_t(end - p))))) {
        if (end - p > 1 && uchar(p[1]) >= 0xA0)
            return true;
        ++p;
    }
    return false;
}

QByteArray SortedLineList::encode(QStringView text)
{
    QByteArray out;
    appendEncoded(out, text);
    return out;
}

void SortedLineList::appendEncoded(QByteArray &out, QStringView text)
{
    // Room for the longest encoding; pages never written are never used.
    out.reserve(out.size() + text.size() * 3);
    if (!::holdsLoneSurrogate(text)) {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        const qsizetype start = out.size();
        out.resize(start + text.size() * 3);
        out.truncate(encoder.appendToBuffer(out.data() + start, text) - out.constData());
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUnit(out, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            appendUnit(out, c.unicode());
        }
    }
}

QString SortedLineList::decode(QByteArrayView bytes)
{
    // Every U+FEFF is a character of the line, even at its start, where
    // fromUtf8 would drop it as a byte order mark. Runs of plain UTF-8 are
    // decoded whole and the three-byte form of a lone surrogate put in
    // between, so a long line decodes in one pass.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *to = out.data();
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        const char *form = p;
        while ((form = static_cast<const char *>(std::memchr(form, 0xED, size_t(end - form)))) &&
               (end - form < 2 || uchar(form[1]) < 0xA0))
            ++form;
        const char *runEnd = form ? form : end;
        to = decoder.appendToBuffer(to, QByteArrayView(p, runEnd));
        if (!form || end - form < 3)
            break;
        *to++ = QChar(char16_t(((uchar(form[0]) & 0x0F) << 12) | ((uchar(form[1]) & 0x3F) << 6) |
                               (uchar(form[2]) & 0x3F)));
        p = form + 3;
    }
    out.truncate(to - out.constData());
    return out;
}
