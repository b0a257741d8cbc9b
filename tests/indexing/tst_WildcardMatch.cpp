#include "indexing/WildcardMatch.h"

#include "AstralWildcards.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

#include <vector>

namespace {

// The matcher's rules written out literally, to check the fast matcher
// against on short texts.
bool literalMatch(QStringView t, QStringView p)
{
    if (p == u"*")
        return true;
    if (t.isEmpty())
        return p.isEmpty();
    if (p.startsWith(u'*'))
        return literalMatch(t, p.mid(1)) || literalMatch(t.mid(1), p);
    if (p.startsWith(u'?'))
        return literalMatch(t.mid(1), p.mid(1));
    return !p.isEmpty() && t[0] == p[0] && literalMatch(t.mid(1), p.mid(1));
}

// The same rules over positions, with each answer kept, for texts too long
// for the literal recursion.
class RememberingMatch
{
public:
    RememberingMatch(QStringView text, QStringView pattern)
        : m_text(text), m_pattern(pattern), m_known(size_t((text.size() + 1) * (pattern.size() + 1)), -1)
    {}
    bool result() { return match(0, 0); }

private:
    bool match(qsizetype t, qsizetype p)
    {
        signed char &known = m_known[size_t(t * (m_pattern.size() + 1) + p)];
        if (known < 0)
            known = decide(t, p) ? 1 : 0;
        return known == 1;
    }
    bool decide(qsizetype t, qsizetype p)
    {
        const QStringView restPattern = m_pattern.mid(p);
        if (restPattern == u"*")
            return true;
        if (t == m_text.size())
            return restPattern.isEmpty();
        if (restPattern.startsWith(u'*'))
            return match(t, p + 1) || match(t + 1, p);
        if (restPattern.startsWith(u'?'))
            return match(t + 1, p + 1);
        return !restPattern.isEmpty() && m_text[t] == restPattern[0] && match(t + 1, p + 1);
    }

    QStringView m_text;
    QStringView m_pattern;
    std::vector<signed char> m_known;
};

QString randomText(QRandomGenerator &random, const char *alphabet, int maxLength)
{
    const int length = random.bounded(maxLength + 1);
    const int letters = int(qstrlen(alphabet));
    QString text;
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(alphabet[random.bounded(letters)]);
    return text;
}

} // namespace

class TestWildcardMatch : public QObject
{
    Q_OBJECT

private slots:
    void wildcardMatch_data();
    void wildcardMatch();
    void astralCharacters_data();
    void astralCharacters();
    void agreesWithTheRules();
    void agreesWithTheRulesOnLongTexts();
    void comparesWholeTexts_data();
    void comparesWholeTexts();
    void manyStarsFinishAtOnce();
    void maskAccepts_data();
    void maskAccepts();
};

void TestWildcardMatch::wildcardMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("result");
    // The quirks of the rules; agreesWithTheRules checks the rest against them.
    QTest::newRow("star takes empty") << ""
                                      << "*" << true;
    QTest::newRow("two stars need text") << ""
                                         << "**" << false;
    QTest::newRow("trailing stars after end") << "abc"
                                              << "abc**" << false;
    QTest::newRow("case significant") << "ABC"
                                      << "abc" << false;
    QTest::newRow("star must backtrack") << "aXbXbc"
                                         << "a*bc" << true;
    QTest::newRow("star meets stars") << "*** todo ***"
                                      << "*todo*" << true;
    QTest::newRow("question takes text star") << "*x"
                                              << "??" << true;
}

void TestWildcardMatch::wildcardMatch()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, result);
    QCOMPARE(WildcardMatch(text, pattern), result);
}

void TestWildcardMatch::agreesWithTheRules()
{
    QRandomGenerator random(20240611);
    for (int i = 0; i < 20000; ++i) {
        // Texts hold stars and question marks too: file names and comments do.
        const QString text = randomText(random, "ab.*?", 7);
        const QString pattern = randomText(random, "ab.*?", 7);
        if (WildcardMatch(text, pattern) != literalMatch(text, pattern))
            QFAIL(qPrintable(QStringLiteral("'%1' against '%2'").arg(text, pattern)));
    }
}

void TestWildcardMatch::agreesWithTheRulesOnLongTexts()
{
    QRandomGenerator random(20261206);
    int matched = 0;
    for (int i = 0; i < 300; ++i) {
        const QString text = randomText(random, "ab*?", 400);
        // The text walked in steps, each kept, swallowed by a star or
        // covered by question marks, matches; one changed character may
        // spoil that, so both answers come up.
        QString pattern;
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype step = qMin(qsizetype(random.bounded(1, 30)), text.size() - at);
            const int way = random.bounded(3);
            pattern += way == 0 ? text.mid(at, step) : way == 1 ? QStringLiteral("*") : QString(step, u'?');
            at += step;
        }
        if (!pattern.isEmpty() && random.bounded(2))
            pattern[random.bounded(int(pattern.size()))] = QLatin1Char("ab*?"[random.bounded(4)]);
        if (random.bounded(4) == 0)
            pattern += QStringLiteral("**");
        const bool result = WildcardMatch(text, pattern);
        if (result != RememberingMatch(text, pattern).result())
            QFAIL(qPrintable(QStringLiteral("'%1' against '%2'").arg(text, pattern)));
        matched += result;
    }
    QVERIFY2(matched > 10 && matched < 290, qPrintable(QString::number(matched)));
}

void TestWildcardMatch::comparesWholeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("result");
    const QString a300(300, u'a');
    QTest::newRow("word past 255") << a300 + QStringLiteral("readme") << "*readme*" << true;
    QTest::newRow("end past 255") << a300 + u'x' << "*x" << true;
    QTest::newRow("text longer than pattern") << a300 << QString(255, u'a') << false;
    QTest::newRow("pattern longer than text") << QString(255, u'a') << QString(255, u'a') + u'b' << false;
    QTest::newRow("long equal") << a300 << a300 << true;
    QTest::newRow("long question") << a300 + u'b' << a300 + u'?' << true;
    QTest::newRow("long stem, two stars, used up") << a300 << a300 + QStringLiteral("**") << false;
    QTest::newRow("long stem, two stars, more") << a300 + u'z' << a300 + QStringLiteral("**") << true;
}

void TestWildcardMatch::comparesWholeTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, result);
    QCOMPARE(WildcardMatch(text, pattern), result);
}

void TestWildcardMatch::manyStarsFinishAtOnce()
{
    QString pattern;
    for (int i = 0; i < 120; ++i)
        pattern += QStringLiteral("a*");
    pattern += u'b';
    const QString text(255, u'a');
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 10; ++i) {
        QVERIFY(!WildcardMatch(text, pattern));
        QVERIFY(!WildcardMatch(text, QString(254, u'*') + u'b'));
        QVERIFY(WildcardMatch(text, QString(254, u'*') + u'a'));
    }
    // A backtracking matcher would not end in the lifetime of the test.
    QVERIFY2(timer.elapsed() < 5000, "matcher time grows with the number of stars");
}

void TestWildcardMatch::maskAccepts_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("result");
    QTest::newRow("txt lower") << "*.txt"
                               << "a.txt" << true;
    QTest::newRow("txt upper name") << "*.txt"
                                    << "B.TXT" << true;
    QTest::newRow("txt not last ext") << "*.txt"
                                      << "a.txt.bak" << false;
    QTest::newRow("txt no dot") << "*.txt"
                                << "txt" << false;
    QTest::newRow("txt longer ext") << "*.txt"
                                    << "a.text" << false;
    QTest::newRow("stored upper mask") << "*.TXT"
                                       << "a.txt" << true;
    QTest::newRow("stored upper mask upper name") << "*.TXT"
                                                  << "B.TXT" << true;
    QTest::newRow("question html") << "*.htm?"
                                   << "x.html" << true;
    QTest::newRow("question htmlx") << "*.htm?"
                                    << "x.htmlx" << true;
    QTest::newRow("question needs a char") << "*.htm?"
                                           << "x.htm" << false;
    QTest::newRow("question upper name") << "*.htm?"
                                         << "X.HTML" << true;
    QTest::newRow("question star two") << "*.?*"
                                       << "x.ab" << true;
    QTest::newRow("question star three") << "*.?*"
                                         << "x.abc" << true;
    QTest::newRow("question star one") << "*.?*"
                                       << "x.a" << false;
    QTest::newRow("question takes an emoji") << "*.?"
                                             << "x.\U0001F600" << true;
    QTest::newRow("two questions, one emoji") << "*.??"
                                              << "x.\U0001F600" << false;
    QTest::newRow("two questions, emoji and letter") << "*.??"
                                                     << "x.\U0001F600a" << true;
    QTest::newRow("upper question mask") << "*.T?T"
                                         << "a.txt" << false;
    QTest::newRow("upper question mask upper") << "*.T?T"
                                               << "A.TXT" << false;
    QTest::newRow("star no ext") << "*"
                                 << "README" << true;
    QTest::newRow("star dot no ext") << "*."
                                     << "Makefile" << true;
    QTest::newRow("star with ext") << "*"
                                   << "a.txt" << false;
    QTest::newRow("star dot with ext") << "*."
                                       << "a.txt" << false;
    QTest::newRow("name part literal") << "report*.txt"
                                       << "report1.txt" << false;
    QTest::newRow("star in ext literal") << "*.t*"
                                         << "a.txt" << false;
    QTest::newRow("star dot star all") << "*.*"
                                       << "a.txt" << true;
    QTest::newRow("star dot star no ext") << "*.*"
                                          << "README" << true;
    QTest::newRow("backslash ends ext") << "*."
                                        << "a.b\\c" << true;
    QTest::newRow("colon ends ext") << "*.b"
                                    << "a.b:c" << false;
    QTest::newRow("slash ends ext") << "*"
                                    << "docs.old/readme" << true;
    QTest::newRow("member in folder") << "*.txt"
                                      << "docs/readme.txt" << true;
    QTest::newRow("dot only ext") << "*."
                                  << "a." << false;
    QTest::newRow("question dot only ext") << "*.?"
                                           << "a." << false;
    QTest::newRow("hidden file") << "*.profile"
                                 << ".profile" << true;
    QTest::newRow("non-ascii lowered") << "*.ÄB"
                                       << "x.äb" << true;
    const QString longExt = QStringLiteral("a.") + QString(300, u'x');
    QTest::newRow("question past 255 of ext") << "*.x?*y" << longExt + u'y' << true;
    QTest::newRow("question, ext differs past 255") << "*.x?*y" << longExt + u'z' << false;
    QTest::newRow("exact long ext") << QStringLiteral("*.") + QString(300, u'x') << longExt << true;
}

void TestWildcardMatch::maskAccepts()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(bool, result);
    QCOMPARE(MaskAccepts(mask, name), result);
}

void TestWildcardMatch::astralCharacters_data()
{
    AstralWildcards::addRows();
}

void TestWildcardMatch::astralCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    QCOMPARE(WildcardMatch(text, pattern), expected);
}

QTEST_GUILESS_MAIN(TestWildcardMatch)
#include "tst_WildcardMatch.moc"
