#pragma once

#include <QString>
#include <QtTest>

// Wild-card cases over characters outside the basic plane, shared by every
// matcher of "*" and "?": a surrogate pair is one character, so "?" takes
// it whole and a star never stops inside it. Chosen so that the table
// search, the file masks and the word search agree on them: a text is
// never empty, a pattern never ends in two stars, and every pattern holds
// a literal that keeps it off a catalog line's other fields.
namespace AstralWildcards {

inline void addRows()
{
    const QString grin = QStringLiteral("\U0001F600");
    const QString beam = QStringLiteral("\U0001F601");
    const QString boldA = QStringLiteral("\U0001D400");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("expected");
    QTest::newRow("? takes an emoji") << grin + ".txt"
                                      << "?.txt" << true;
    QTest::newRow("?? wants two characters") << grin + ".txt"
                                             << "??.txt" << false;
    QTest::newRow("? between letters") << "a" + grin + "b.txt"
                                       << "a?b.txt" << true;
    QTest::newRow("?? between letters") << "a" + grin + "b.txt"
                                        << "a??b.txt" << false;
    QTest::newRow("? then a literal astral") << boldA + beam + ".txt"
                                             << "?" + beam + ".txt" << true;
    QTest::newRow("? at the end") << "x" + grin << "x?" << true;
    QTest::newRow("?? at the end") << "x" + grin << "x??" << false;
    QTest::newRow("three characters, mixed planes") << "日" + grin + "b.txt"
                                                    << "???.txt" << true;
    QTest::newRow("four wanted of three") << "日" + grin + "b.txt"
                                          << "????.txt" << false;
    QTest::newRow("star then ?") << grin + beam + ".txt"
                                 << "*?" + beam + ".txt" << true;
    QTest::newRow("star then ? wants one more") << grin + ".txt"
                                                << "*?" + grin + ".txt" << false;
}

} // namespace AstralWildcards
