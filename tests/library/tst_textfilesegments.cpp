#include "library/TextFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

// Large files are read in pieces of whole lines; whatever falls on a piece
// boundary must read exactly as the whole file decoded at once.
class TestTextFileSegments : public QObject
{
    Q_OBJECT

private slots:
    void readsAsWholeFile_data();
    void readsAsWholeFile();
};

namespace {

constexpr int kPiece = 1 << 20;

// Filler lines ending so that the byte at offset `at` is the first of tail.
QByteArray fillTo(qsizetype at, const QByteArray &tail)
{
    QByteArray bytes;
    int i = 0;
    while (bytes.size() < at - 200)
        bytes += "\"line " + QByteArray::number(i++) + " \xC3\xA9t\xC3\xA9\",\"12\"\r\n";
    bytes += QByteArray(at - bytes.size(), 'x');
    return bytes + tail;
}

} // namespace

void TestTextFileSegments::readsAsWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expectedLines");
    QTest::newRow("CR LF split by the boundary") << fillTo(kPiece - 1, "\r\nnext\r\nlast") << -1;
    QTest::newRow("character split by the boundary") << fillTo(kPiece - 1, "\xC3\xA9 word\r\nlast\r\n") << -1;
    QTest::newRow("lone CRs only across the boundary")
        << QByteArray(kPiece - 2, 'a') + "\rb\rc" + QByteArray(kPiece, 'd') + "\r" << 3;
    QTest::newRow("bad UTF-8 in the second piece") << fillTo(kPiece + 100, "caf\xE9\r\nend") << -1;
    QTest::newRow("NUL ends the text in the second piece")
        << fillTo(kPiece + 10, QByteArray("cut here", 8) + '\0' + "\r\nignored") << -1;
    QTest::newRow("BOM at the start") << "\xEF\xBB\xBF" + fillTo(kPiece, "tail") << -1;
    // A U+FEFF that begins a line is text, wherever the pieces fall.
    QTest::newRow("U+FEFF starting the second piece")
        << fillTo(kPiece - 2, "\r\n\xEF\xBB\xBFy\r\nlast") << -1;
}

void TestTextFileSegments::readsAsWholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expectedLines);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.TXT");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList lines;
    QVERIFY(TextFile::readLines(path, lines));
    const QStringList whole = TextFile::splitLines(TextFile::decode(bytes));
    QCOMPARE(lines.size(), whole.size());
    QVERIFY(lines == whole);
    if (expectedLines >= 0)
        QCOMPARE(int(lines.size()), expectedLines);
}

QTEST_GUILESS_MAIN(TestTextFileSegments)
#include "tst_textfilesegments.moc"
