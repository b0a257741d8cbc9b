#include "TestSupport.h"
#include "indexing/MaskList.h"
#include "indexing/WildcardMatch.h"
#include "settings/SettingsFile.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
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

class TestMasks : public QObject
{
    Q_OBJECT
private slots:
    void wildcardMatch_data();
    void wildcardMatch();
    void agreesWithTheRules();
    void manyStarsFinishAtOnce();
    void maskAccepts_data();
    void maskAccepts();
    void keepsSortedOrder();
    void refusesDuplicates_data();
    void refusesDuplicates();
    void readSaved_data();
    void readSaved();
};

void TestMasks::wildcardMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("result");
    // The quirks of the rules; agreesWithTheRules checks the rest against them.
    QTest::newRow("star takes empty") << "" << QString("*") << true;
    QTest::newRow("two stars need text") << "" << QString("**") << false;
    QTest::newRow("trailing stars after end") << "abc" << QString("abc**") << false;
    QTest::newRow("case significant") << "ABC" << QString("abc") << false;
    QTest::newRow("star must backtrack") << "aXbXbc" << QString("a*bc") << true;
    QTest::newRow("star meets stars") << "*** todo ***" << QString("*todo*") << true;
    QTest::newRow("question takes text star") << "*x" << QString("??") << true;
    // Whole texts and patterns are compared, however long.
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

void TestMasks::wildcardMatch()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, result);
    QCOMPARE(WildcardMatch(text, pattern), result);
}

void TestMasks::agreesWithTheRules()
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

void TestMasks::manyStarsFinishAtOnce()
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

void TestMasks::maskAccepts_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("result");
    const auto row = [](const char *mask, const char *name, bool result) {
        QTest::addRow("%s %s", mask, name) << QString::fromUtf8(mask) << QString::fromUtf8(name) << result;
    };
    row("*.txt", "B.TXT", true);
    row("*.txt", "a.txt.bak", false); // only the last extension
    row("*.txt", "txt", false);
    row("*.txt", "a.text", false);
    row("*.TXT", "a.txt", true); // a stored mask in capitals
    row("*.htm?", "X.HTML", true);
    row("*.htm?", "x.htm", false); // a question mark needs a character
    row("*.?*", "x.abc", true);
    row("*.?*", "x.a", false);
    row("*.?", "x.\U0001F600", true); // one question mark, one emoji
    row("*.??", "x.\U0001F600", false);
    row("*.T?T", "A.TXT", false); // a mask with a question mark is taken as typed
    row("*", "README", true);
    row("*.", "Makefile", true);
    row("*", "a.txt", false);
    row("*.", "a.txt", false);
    row("report*.txt", "report1.txt", false); // the name part is literal
    row("*.t*", "a.txt", false);
    row("*.*", "README", true);
    row("*.", "a.b\\c", true); // a backslash ends the extension
    row("*.b", "a.b:c", false);
    row("*", "docs.old/readme", true); // so does a slash
    row("*.txt", "docs/readme.txt", true);
    row("*.", "a.", false);
    row("*.?", "a.", false);
    row("*.profile", ".profile", true);
    row("*.\u00C4B", "x.\u00E4b", true);
    const QString longExt = QStringLiteral("a.") + QString(300, u'x');
    QTest::newRow("question past 255 of ext") << "*.x?*y" << longExt + u'y' << true;
    QTest::newRow("question, ext differs past 255") << "*.x?*y" << longExt + u'z' << false;
    QTest::newRow("exact long ext") << QStringLiteral("*.") + QString(300, u'x') << longExt << true;
}

void TestMasks::maskAccepts()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(bool, result);
    QCOMPARE(MaskAccepts(mask, name), result);
}

void TestMasks::keepsSortedOrder()
{
    MaskList list;
    for (const char *mask : {"*.txt", "*.Doc", "*.bmp", "*.c", "*.zip"})
        QVERIFY(list.add(QString::fromLatin1(mask)));
    QCOMPARE(list.items(), QStringList({"*.bmp", "*.c", "*.Doc", "*.txt", "*.zip"}));
}

void TestMasks::refusesDuplicates_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("added");
    QTest::newRow("same") << "*.txt" << QString("*.txt") << false;
    QTest::newRow("ascii case") << "*.TXT" << QString("*.txt") << false;
    QTest::newRow("other mask") << "*.txt" << QString("*.tx") << true;
    // Only ASCII letters are folded for this rule.
    QTest::newRow("non-ascii case") << "*.É" << QString("*.é") << true;
    QTest::newRow("empty") << "*.txt" << QString("") << false;
}

void TestMasks::refusesDuplicates()
{
    QFETCH(QString, held);
    QFETCH(QString, typed);
    QFETCH(bool, added);
    MaskList list;
    QVERIFY(list.add(held));
    QCOMPARE(list.add(typed), added);
    QCOMPARE(list.size(), added ? 2 : 1);
    QCOMPARE(list.items().first().isEmpty(), false);
}

void TestMasks::readSaved_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("masks");
    QTest::newRow("no section") << QByteArray("[Global]\r\nx=1\r\n") << QStringList();
    QTest::newRow("stored order")
        << QByteArray("[Global.Masklistbox_Items]\r\nCount=2\r\nItem0=*.txt\r\nItem1=*.DOC\r\n")
        << QStringList({"*.txt", "*.DOC"});
    QTest::newRow("section case") << QByteArray("[global.masklistbox_items]\r\ncount=1\r\nitem0=*.c\r\n")
                                  << QStringList({"*.c"});
    QTest::newRow("missing item") << QByteArray("[Global.Masklistbox_Items]\r\nCount=2\r\nItem1=*.c\r\n")
                                  << QStringList({"", "*.c"});
    QTest::newRow("bad count") << QByteArray("[Global.Masklistbox_Items]\r\nCount=x\r\nItem0=*.c\r\n")
                               << QStringList();
}

void TestMasks::readSaved()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, masks);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrovane.INI"));
    QVERIFY(TestSupport::writeFile(path, ini));
    QCOMPARE(MaskList::readSaved(SettingsFile(path)), masks);
}

QTEST_GUILESS_MAIN(TestMasks)
#include "tst_masks.moc"
