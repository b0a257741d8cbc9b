#pragma once

#include <QStringList>

// A list of line pairs, a name line followed by its value line:
// CatalogInfoList (name, information line) and TreeComments (name, comment).
// Lookups match name lines only, the first one equal without regard to case.
class PairList
{
public:
    PairList() = default;
    explicit PairList(const QStringList &lines) : m_lines(lines) {}

    // Position of the name line of name, or -1.
    qsizetype indexOf(QStringView name) const;
    bool contains(QStringView name) const { return indexOf(name) >= 0; }
    QString value(QStringView name) const;
    // Replaces the value of name in place, or appends the pair.
    void setValue(const QString &name, const QString &value);
    void append(const QString &name, const QString &value);
    // Replaces the name line of oldName in place; false when not found.
    bool rename(QStringView oldName, const QString &newName);
    bool remove(QStringView name);

    qsizetype pairCount() const { return m_lines.size() / 2; }
    QString nameAt(qsizetype pair) const { return m_lines.value(pair * 2); }
    QString valueAt(qsizetype pair) const { return m_lines.value(pair * 2 + 1); }
    const QStringList &lines() const { return m_lines; }
    void setLines(const QStringList &lines) { m_lines = lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
};
