#pragma once

#include <QStringList>

// A line list kept in ascending case-insensitive order (TextCompare) in which
// a line equal to one already held is dropped: FileLines and DirList. Only
// an exactly equal line is dropped: lines of "Same.txt" and "same.TXT" are
// different files, and both are held (next to each other, the same letters
// in upper case first).
//
// Lines added one by one are gathered and merged into the sorted body when
// the list is next read, so building a list of a million lines costs one
// sort instead of a million insertions.
class SortedLineList
{
public:
    // Adds a line unless an equal one is held.
    void add(const QString &line);
    void addAll(const QStringList &lines);
    void clear();

    qsizetype count() const;
    bool isEmpty() const { return count() == 0; }
    const QString &at(qsizetype i) const;
    // Position of the line equal to text, or -1 (binary search).
    qsizetype indexOf(QStringView text) const;
    bool contains(QStringView text) const { return indexOf(text) >= 0; }
    void removeAt(qsizetype i);
    const QStringList &lines() const;
    QStringList takeLines();
    // Every line held, in no particular order, and equal lines not yet
    // dropped; for callers that only look lines up. Empties the list.
    QStringList takeUnsorted();

private:
    void settle() const;

    mutable QStringList m_sorted;
    mutable QStringList m_pending;
};
