#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <memory>
#include <vector>

// A line list kept in ascending case-insensitive order (TextCompare) in which
// a line equal to one already held is dropped: FileLines and DirList. Only
// an exactly equal line is dropped: lines of "Same.txt" and "same.TXT" are
// different files, and both are held (next to each other, the same letters
// in upper case first).
//
// Lines are held as UTF-8 in a few large blocks with a small record per
// line, and decoded only when asked for: a catalog costs about its file
// size, not twice that as UTF-16 and a heap block per line.
//
// Lines added one by one are gathered and merged into the sorted body when
// the list is next read, so building a list of a million lines costs one
// sort instead of a million insertions.
class SortedLineList
{
public:
    SortedLineList() = default;
    SortedLineList(const SortedLineList &other);
    SortedLineList &operator=(const SortedLineList &other);
    SortedLineList(SortedLineList &&other) noexcept;
    SortedLineList &operator=(SortedLineList &&other) noexcept;
    ~SortedLineList();

    // Adds a line unless an equal one is held.
    void add(const QString &line);
    // The same for a line of valid UTF-8 without a line break.
    void addUtf8(QByteArrayView line);
    // The same, taking over the bytes of a long line instead of copying
    // them: a huge line is held once.
    void addUtf8(QByteArray &&line);
    // Adds lines, views into bytes, as addUtf8 does, taking over bytes
    // instead of copying the lines out of them.
    void addUtf8Views(QByteArray &&bytes, const std::vector<QByteArrayView> &lines);
    void addAll(const QStringList &lines);
    // Adds every line of other (equal ones dropped), taking over its storage
    // instead of copying the bytes; other is left empty.
    void merge(SortedLineList &&other);
    void clear();
    // Sorts the lines added since the last reading now, so that a worker
    // thread can do it before it hands the list over; every reading does it
    // otherwise.
    void settle() const;

    qsizetype count() const;
    bool isEmpty() const { return m_sorted.empty() && m_pending.empty(); }
    QString at(qsizetype i) const;
    // The line's UTF-8 bytes, valid until the list is changed. A line that
    // held a lone surrogate keeps it in its three-byte form, which strict
    // UTF-8 decoders read as replacement characters; at() gives it back.
    QByteArrayView utf8At(qsizetype i) const;
    // Position of the line equal to text, or -1 (binary search).
    qsizetype indexOf(QStringView text) const;
    bool contains(QStringView text) const { return indexOf(text) >= 0; }
    void removeAt(qsizetype i);
    // Keeps line i where keep[i] holds (keep has count() elements). When the
    // lines dropped held most of the bytes, the rest is copied into fresh
    // storage so that theirs is given back.
    void keepOnly(const std::vector<bool> &keep);
    // These three cost a UTF-16 copy of every line: walk large lists with
    // count() and at() or utf8At() instead.
    QStringList lines() const;
    QStringList takeLines();
    // Every line held, in no particular order, and equal lines not yet
    // dropped; for callers that only look lines up. Empties the list.
    QStringList takeUnsorted();

    // Whether UTF-8 bytes hold the three-byte form of a lone surrogate.
    static bool holdsLoneSurrogate(QByteArrayView bytes);
    // UTF-8 of text, a lone surrogate in its three-byte form.
    static QByteArray encode(QStringView text);
    // The same appended to out, with no copy of the encoded text on the way.
    static void appendEncoded(QByteArray &out, QStringView text);
    static QString decode(QByteArrayView bytes);

    // One line's bytes, held by the list.
    struct Line {
        const char *data;
        qsizetype size;
        QByteArrayView view() const { return QByteArrayView(data, size); }
    };
    // Where a list keeps its lines, for a holder that takes them over
    // instead of copying them.
    struct Storage {
        std::vector<std::unique_ptr<char[]>> blocks;
        std::vector<QByteArray> takenLines;
        // In order; each points into blocks or takenLines.
        std::vector<Line> lines;
    };
    // The lines and what holds their bytes; the list is left empty.
    Storage takeStorage();

private:
    void reservePending(size_t more);
    const char *store(QByteArrayView bytes);
    // A fresh block to fill, of at least atLeast bytes.
    void startBlock(qsizetype atLeast);
    void swap(SortedLineList &other) noexcept;
    static bool lessLine(const Line &a, const Line &b);

    // Blocks never move once allocated, so the records point into them.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    // Long lines and runs of lines taken over whole; never changed, so
    // their bytes stay put.
    std::vector<QByteArray> m_takenLines;
    char *m_free = nullptr;
    qsizetype m_freeSize = 0;
    qsizetype m_nextBlockSize = 0;
    mutable std::vector<Line> m_sorted;
    mutable std::vector<Line> m_pending;
};
