#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/TextFile.h"

#include "HostileCatalog.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <random>

// The compact line list, its UTF-8 order and its streamed reading and
// writing must give exactly what the plain QStringList forms give.
class TestCompactLines : public QObject
{
    Q_OBJECT

private slots:
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

void TestCompactLines::sameListAsReference_data()
{
    addSources();
}

void TestCompactLines::sameListAsReference()
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

void TestCompactLines::sameOrderOnUtf8_data()
{
    addSources();
}

void TestCompactLines::sameOrderOnUtf8()
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

void TestCompactLines::readsAsTextReader_data()
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

void TestCompactLines::readsAsTextReader()
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

void TestCompactLines::writesAsTextWriter()
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

void TestCompactLines::keepsLongLines_data()
{
    QTest::addColumn<qsizetype>("bytes");
    for (const qsizetype bytes : HostileCatalog::boundarySizes())
        QTest::addRow("%lld bytes", qlonglong(bytes)) << bytes;
}

// A long line among short ones, which it meets in a block already in use:
// added as text and as UTF-8, looked up, copied, written and read back.
void TestCompactLines::keepsLongLines()
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

void TestCompactLines::stagesCompactCatalog()
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

QTEST_GUILESS_MAIN(TestCompactLines)
#include "tst_compactlines.moc"
