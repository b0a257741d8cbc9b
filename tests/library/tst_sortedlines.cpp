#include "HostileCatalog.h"
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/PairList.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/TextFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <iterator>
#include <random>

class TestSortedLines : public QObject
{
    Q_OBJECT
private slots:
    void compare_data();
    void compare();
    void dropsOnlyExactDuplicates_data();
    void dropsOnlyExactDuplicates();
    void addAfterReadMerges();
    void indexOf();
    void pairLookupMatchesNamesOnly();
    void pairEditsInPlace();
    void sameListAsReference_data();
    void sameListAsReference();
    void sameOrderOnUtf8_data();
    void sameOrderOnUtf8();
    void readsAsTextReader_data();
    void readsAsTextReader();
    void writesAsTextWriter();
    void keepsLongLines_data();
    void keepsLongLines();
    void stagesCompactCatalog();
};

void TestSortedLines::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("noCase");
    QTest::addColumn<int>("tree");
    QTest::newRow("equal ignoring case") << "Games" << QString("gAMES") << 0 << 1;
    QTest::newRow("lower before upper") << "a" << QString("A") << 0 << -1;
    QTest::newRow("alphabetical") << "apple" << QString("Banana") << -1 << -1;
    QTest::newRow("accent beside base") << QString::fromUtf8("épée") << "f" << -1 << -1;
    QTest::newRow("accent not equal") << QString::fromUtf8("é") << "e" << 1 << 1;
    QTest::newRow("prefix first") << "ab" << QString("abc") << -1 << -1;
    QTest::newRow("digits before letters") << "10" << QString("2") << -1 << -1;
}

void TestSortedLines::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, noCase);
    QFETCH(int, tree);
    QCOMPARE(qBound(-1, TextCompare::compareNoCase(a, b), 1), noCase);
    QCOMPARE(qBound(-1, TextCompare::compareNoCase(b, a), 1), -noCase);
    QCOMPARE(qBound(-1, TextCompare::compareTree(a, b), 1), tree);
}

void TestSortedLines::dropsOnlyExactDuplicates_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    // Lines that differ only in letter case are different files: both are
    // held, side by side, in the case-insensitive order.
    QTest::newRow("case twins") << QStringList{"\"b.txt\"", "\"A.txt\"", "\"B.TXT\"",
                                               "\"a.txt\"", "\"c\"",     "\"A.txt\""}
                                << QStringList{"\"A.txt\"", "\"a.txt\"", "\"B.TXT\"", "\"b.txt\"", "\"c\""};
    QTest::newRow("twins interleaved with exact copies")
        << QStringList{"same", "Same", "same", "SAME", "Same", "other"}
        << QStringList{"other", "SAME", "Same", "same"};
    QTest::newRow("accents stay apart")
        << QStringList{"\u00e9", "\u00c9", "e", "\u00e9"} << QStringList{"e", "\u00c9", "\u00e9"};
}

void TestSortedLines::dropsOnlyExactDuplicates()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    SortedLineList oneByOne;
    for (const QString &line : added)
        oneByOne.add(line);
    QCOMPARE(oneByOne.lines(), expected);
    // Merging into a settled list follows the same rule.
    SortedLineList merged;
    merged.addAll(added.mid(0, added.size() / 2));
    QVERIFY(merged.count() > 0);
    merged.addAll(added.mid(added.size() / 2));
    QCOMPARE(merged.lines(), expected);
    for (const QString &line : expected)
        QCOMPARE(merged.at(merged.indexOf(line)), line);
}

void TestSortedLines::addAfterReadMerges()
{
    SortedLineList list;
    list.addAll({"b", "d"});
    QCOMPARE(list.count(), 2);
    list.add("C");
    list.add("b");
    list.add("a");
    QCOMPARE(list.lines(), QStringList({"a", "b", "C", "d"}));
    list.add("e");
    QStringList all = list.takeUnsorted();
    std::sort(all.begin(), all.end());
    QCOMPARE(all, QStringList({"C", "a", "b", "d", "e"}));
    QCOMPARE(list.count(), 0);
}

void TestSortedLines::indexOf()
{
    SortedLineList list;
    list.addAll({"x", "Y", "z"});
    QCOMPARE(list.indexOf(u"Y"), 1);
    QCOMPARE(list.indexOf(u"y"), -1); // another file's line
    QCOMPARE(list.indexOf(u"w"), -1);
    list.removeAt(1);
    QVERIFY(!list.contains(u"Y"));
}

void TestSortedLines::pairLookupMatchesNamesOnly()
{
    // "Backup" appears as a value first; only the name line may match.
    PairList pairs({"Music", "Backup", "backup", "\"1\",\"2\""});
    QCOMPARE(pairs.indexOf(u"BACKUP"), 2);
    QCOMPARE(pairs.value(u"Backup"), QString("\"1\",\"2\""));
    QCOMPARE(pairs.value(u"none"), QString());
}

void TestSortedLines::pairEditsInPlace()
{
    PairList pairs({"a", "1", "b", "2"});
    pairs.setValue("B", "3");
    QVERIFY(pairs.rename(u"A", "z"));
    pairs.append("c", "4");
    QCOMPARE(pairs.lines(), QStringList({"z", "1", "b", "3", "c", "4"}));
    QVERIFY(pairs.remove(u"b"));
    QVERIFY(!pairs.remove(u"b"));
    QCOMPARE(pairs.lines(), QStringList({"z", "1", "c", "4"}));
    // A list cut short after a name keeps its pairs aligned when appended to.
    PairList odd({"lonely"});
    odd.append("n", "v");
    QCOMPARE(odd.value(u"n"), QString("v"));
}

namespace {

// The order on QStrings, as the list kept it before.
int referenceCompare(QStringView a, QStringView b)
{
    const int noCase = TextCompare::compareNoCase(a, b);
    return noCase != 0 ? noCase : a.compare(b);
}

bool referenceLess(const QString &a, const QString &b)
{
    return referenceCompare(a, b) < 0;
}

// The lines sorted and deduplicated as QStrings.
QStringList sortedUnique(QStringList lines)
{
    std::sort(lines.begin(), lines.end(), referenceLess);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// Random short texts from an alphabet chosen to hit every branch of the
// order: ASCII of both cases, Latin letters with a table fold, letters
// above it, characters outside the BMP (two surrogates, which sort below
// U+E000..U+FFFF) and, when asked, surrogates standing alone.
QStringList randomTexts(quint32 seed, int count, bool loneSurrogates)
{
    static const char16_t alphabet[] = {u'a',   u'A',   u'b',   u'B',   u'z',   u'.',   u' ',
                                        u'"',   u',',   0x00E9, 0x00C9, 0x00DF, 0x0130, 0x0131,
                                        0x212A, 0x0250, 0x03A3, 0x03C3, 0x03C2, 0x30A2, 0xE000,
                                        0xF900, 0xFB01, 0xFEFF, 0xFF21, 0xFF41, 0xFFFD, 0xFFFF};
    static const char32_t astral[] = {0x1F600, 0x10000, 0x10400, 0x10428, 0x1D400, 0x10FFFF};
    QRandomGenerator rng(seed);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        const int length = int(rng.bounded(6));
        for (int k = 0; k < length; ++k) {
            const quint32 pick = rng.bounded(10);
            if (pick == 0)
                text += QString::fromUcs4(&astral[rng.bounded(int(std::size(astral)))], 1);
            else if (pick == 1 && loneSurrogates)
                text += QChar(char16_t(rng.bounded(2) ? 0xD83D : 0xDE00));
            else
                text += QChar(alphabet[rng.bounded(int(std::size(alphabet)))]);
        }
        texts << text;
    }
    return texts;
}

QStringList sourceLines(const QString &source, quint32 seed)
{
    if (source == QLatin1String("hostile"))
        return HostileCatalog::lines(seed, 1500);
    return randomTexts(seed, 3000, source == QLatin1String("lone surrogates"));
}

void addSources()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 42u}) {
        for (const char *source : {"hostile", "random", "lone surrogates"})
            QTest::addRow("%s %u", source, seed) << QString::fromLatin1(source) << seed;
    }
}

QStringList allLines(const SortedLineList &list)
{
    QStringList out;
    for (qsizetype i = 0; i < list.count(); ++i)
        out << list.at(i);
    return out;
}

int sign(int c)
{
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

// The compact line list, its UTF-8 order and its streamed reading and
// writing must give exactly what the plain QStringList forms give.
void TestSortedLines::sameListAsReference_data()
{
    addSources();
}

void TestSortedLines::sameListAsReference()
{
    QFETCH(QString, source);
    QFETCH(quint32, seed);
    QStringList added = sourceLines(source, seed);
    added += added.mid(0, added.size() / 3); // exact copies to drop
    std::shuffle(added.begin(), added.end(), std::mt19937(seed));
    SortedLineList compact;
    // Half first, read (settled), then the rest merged in.
    const qsizetype half = added.size() / 2;
    for (qsizetype i = 0; i < half; ++i)
        compact.add(added.at(i));
    QCOMPARE(compact.count(), sortedUnique(added.mid(0, half)).size());
    compact.addAll(added.mid(half));
    QStringList expected = sortedUnique(added);
    QCOMPARE(allLines(compact), expected);
    QCOMPARE(compact.lines(), expected);

    for (const QString &line : added.mid(0, 300)) {
        QCOMPARE(compact.indexOf(line), expected.indexOf(line));
        const QString other = line.toLower() + QLatin1String("~");
        QCOMPARE(compact.indexOf(other), expected.indexOf(other));
    }
    for (int k = 0; k < 50; ++k) {
        const qsizetype at = (k * 7919) % expected.size();
        expected.removeAt(at);
        compact.removeAt(at);
    }
    QCOMPARE(allLines(compact), expected);
    // A copy is a list of its own.
    SortedLineList copy = compact;
    compact.clear();
    QCOMPARE(copy.lines(), expected);
}

void TestSortedLines::sameOrderOnUtf8_data()
{
    addSources();
}

void TestSortedLines::sameOrderOnUtf8()
{
    QFETCH(QString, source);
    QFETCH(quint32, seed);
    const QStringList texts = sourceLines(source, seed);
    QRandomGenerator rng(seed);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &a = texts.at(i);
        // A neighbour in the list, a random text, and one that shares a's
        // start, so long common starts are compared too.
        const QString partner = texts.at(rng.bounded(int(texts.size())));
        for (const QString &b : {texts.at((i + 1) % texts.size()), partner, a.left(a.size() / 2) + partner}) {
            const QByteArray x = SortedLineList::encode(a);
            const QByteArray y = SortedLineList::encode(b);
            QCOMPARE(SortedLineList::decode(x), a);
            if (sign(TextCompare::compareLinesUtf8(x, y)) != sign(referenceCompare(a, b)) ||
                sign(TextCompare::compareNoCaseUtf8(x, y)) != sign(TextCompare::compareNoCase(a, b)))
                QFAIL(qPrintable(QStringLiteral("order differs for %1 / %2")
                                     .arg(QString::fromLatin1(x.toHex()), QString::fromLatin1(y.toHex()))));
        }
    }
}

void TestSortedLines::readsAsTextReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (quint32 seed : {3u, 11u, 29u}) {
        const QByteArray bytes = HostileCatalog::fileBytes(seed, HostileCatalog::lines(seed, 2000));
        QTest::addRow("hostile %u", seed) << bytes;
        QTest::addRow("hostile %u, one Windows-1252 byte", seed) << bytes + "caf\xE9\r\n";
        QTest::addRow("hostile %u, NUL inside", seed) << bytes.left(bytes.size() / 2) + '\0' + bytes;
    }
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("marks at the start and inside") << bom + bom + "a\r\n" + bom + "b\rc\n\n\r\r\nd";
    QTest::newRow("Windows-1252 with a mark") << bom + "\x80\x81\x8D\x9F\xFF\r\n\r";
    // Lines across the one-megabyte pieces of the reader, one starting with
    // a byte order mark exactly at a piece's start.
    QByteArray big;
    for (int i = 0; big.size() < (3 << 20); ++i)
        big += "\"f" + QByteArray::number(i) + " \xC3\xA9\xF0\x9F\x98\x80\",\"1\"" + (i % 3 ? "\r\n" : "\n");
    QTest::newRow("several pieces") << big;
    QByteArray marked = QByteArray((1 << 20) - 2, 'x') + "\r\n" + bom + "y\r\n" + QByteArray(1 << 20, 'z');
    QTest::newRow("mark at a piece start") << marked;
    QTest::newRow("empty") << QByteArray();
    // A line longer than a piece, taken over whole by the list.
    const QByteArray longLine = HostileCatalog::longLine(QStringLiteral("l"), (1 << 20) + 1).toUtf8();
    QTest::newRow("one long line") << longLine;
    QTest::newRow("one long line after a mark, CR") << bom + longLine + "\r";
    QTest::newRow("long line between breaks") << "\n" + longLine + "\n\r" + longLine + "\r\n";
    QTest::newRow("long Windows-1252 line") << "caf\xE9" + longLine + "\r\n";
}

void TestSortedLines::readsAsTextReader()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("c.TXT");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList text;
    QVERIFY(TextFile::readLines(path, text));
    SortedLineList compact;
    compact.add(QStringLiteral("left from before"));
    QVERIFY(TextFile::readLines(path, compact));
    QCOMPARE(allLines(compact), sortedUnique(text));
    // The whole text, read a piece at a time, is the file decoded at once.
    QString whole;
    QVERIFY(TextFile::readText(path, whole));
    QCOMPARE(whole, TextFile::decode(bytes));
    QVERIFY(!TextFile::readLines(dir.filePath("missing.TXT"), compact));
    QCOMPARE(compact.count(), 0);
}

void TestSortedLines::writesAsTextWriter()
{
    QStringList lines = HostileCatalog::lines(5, 3000) + randomTexts(5, 500, true);
    lines << QString() << QString(QChar(0xD800)) + QLatin1String("lone");
    SortedLineList compact;
    compact.addAll(lines);
    QTemporaryDir dir;
    QVERIFY(TextFile::writeLines(dir.filePath("text"), compact.lines()));
    QVERIFY(TextFile::writeLineList(dir.filePath("compact"), compact));
    QCOMPARE(TestSupport::readFile(dir.filePath("compact")), TestSupport::readFile(dir.filePath("text")));
}

void TestSortedLines::keepsLongLines_data()
{
    QTest::addColumn<qsizetype>("bytes");
    for (const qsizetype bytes : HostileCatalog::boundarySizes())
        QTest::addRow("%lld bytes", qlonglong(bytes)) << bytes;
}

// A long line among short ones, which it meets in a block already in use:
// added as text and as UTF-8, looked up, copied, written and read back.
void TestSortedLines::keepsLongLines()
{
    QFETCH(qsizetype, bytes);
    const QString line = HostileCatalog::longLine(QStringLiteral("long.txt"), bytes);
    QCOMPARE(line.toUtf8().size(), bytes);
    const QStringList lines = HostileCatalog::lines(quint32(bytes), 200)
                              << line << HostileCatalog::longLine("Long.txt", bytes);
    const QStringList expected = sortedUnique(lines);
    SortedLineList added;
    SortedLineList addedUtf8;
    for (const QString &l : lines) {
        added.add(l);
        addedUtf8.addUtf8(l.toUtf8());
    }
    QCOMPARE(allLines(added), expected);
    QCOMPARE(allLines(addedUtf8), expected);
    QCOMPARE(added.indexOf(line), expected.indexOf(line));
    QCOMPARE(allLines(SortedLineList(added)), expected);

    QTemporaryDir dir;
    QVERIFY(TextFile::writeLineList(dir.filePath("compact"), addedUtf8));
    QVERIFY(TextFile::writeLines(dir.filePath("text"), expected));
    QCOMPARE(TestSupport::readFile(dir.filePath("text")), TestSupport::readFile(dir.filePath("compact")));
    SortedLineList read;
    QVERIFY(TextFile::readLines(dir.filePath("text"), read));
    QCOMPARE(allLines(read), expected);
    QStringList readText;
    QVERIFY(TextFile::readLines(dir.filePath("text"), readText));
    QCOMPARE(readText, expected);
}

void TestSortedLines::stagesCompactCatalog()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    SortedLineList lines;
    lines.addAll(HostileCatalog::lines(9, 2000));
    QVERIFY(TextFile::writeLines(dir.filePath("expected"), lines.lines()));
    const QString path = library.catalogFilePath(QStringLiteral("Hostile"));
    QVERIFY(LibraryTransaction::apply(library, state, [&](LibraryTransaction &transaction) {
        transaction.writeLineList(path, std::move(lines));
    }));
    QCOMPARE(TestSupport::readFile(path), TestSupport::readFile(dir.filePath("expected")));
}

QTEST_GUILESS_MAIN(TestSortedLines)
#include "tst_sortedlines.moc"
