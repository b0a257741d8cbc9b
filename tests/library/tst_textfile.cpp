#include "TestSupport.h"
#include "library/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void lineEndings_data();
    void lineEndings();
    void longLines_data();
    void longLines();
    void utf8AndCp1252();
    void writesCrLfUtf8();
    void missingFileFails();
    void failedWriteKeepsOldFile();
};

void TestTextFile::lineEndings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines") << QByteArray("a\r\n\nb\r\r\nc") << QStringList{"a", "", "b", "", "c"};
    QTest::newRow("nul ends text") << QByteArray("a\r\nb\0c\r\nd", 10) << QStringList{"a", "b"};
    QTest::newRow("empty") << QByteArray() << QStringList();
}

void TestTextFile::lineEndings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList read;
    QVERIFY(TextFile::readLines(path, read));
    QCOMPARE(read, lines);
}

void TestTextFile::longLines_data()
{
    // The file is read in pieces of 1 MiB; lines and line breaks must come
    // out whole wherever a piece ends.
    constexpr int kPiece = 1 << 20;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QByteArray big(3 * kPiece + 17, 'a');
    QTest::newRow("one line over several pieces") << big << QStringList{QString(big)};
    QTest::newRow("one line ended by CR LF") << big + "\r\n" << QStringList{QString(big)};
    const QByteArray head(kPiece - 1, 'h');
    QTest::newRow("CR LF across a piece end") << head + "\r\nb" << QStringList{QString(head), "b"};
    QTest::newRow("CR ends a piece, then a line") << head + "\rb\r\n" << QStringList{QString(head), "b"};
    QTest::newRow("long line after short ones") << "x\ny\n" + big + "\nz"
                                                << QStringList{"x", "y", QString(big), "z"};
    const QByteArray accented = QByteArray(kPiece - 1, 'e') + "\xC3\xA9" + QByteArray(kPiece, 'e');
    QTest::newRow("UTF-8 character across a piece end")
        << accented << QStringList{QString::fromUtf8(accented)};
    QTest::newRow("Windows-1252 found late") << big + "\xE9" << QStringList{QString(big) + QChar(0xE9)};
}

void TestTextFile::longLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("long.txt");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList read;
    QVERIFY(TextFile::readLines(path, read));
    QCOMPARE(read.size(), lines.size());
    QVERIFY(read == lines);
}

void TestTextFile::utf8AndCp1252()
{
    QCOMPARE(TextFile::decode("caf\xC3\xA9"), QString::fromUtf8("café"));
    // Invalid UTF-8: the Windows-1252 reading, euro sign and quotes included.
    QCOMPARE(TextFile::decode("caf\xE9 \x80 \x93x\x94"), QString::fromUtf8("café € “x”"));
}

void TestTextFile::writesCrLfUtf8()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    QVERIFY(TextFile::writeLines(path, {"é", "", "b"}));
    QCOMPARE(TestSupport::readFile(path), QByteArray("\xC3\xA9\r\n\r\nb\r\n"));
    QVERIFY(TextFile::writeLines(path, {}));
    QCOMPARE(TestSupport::readFile(path), QByteArray());
}

void TestTextFile::missingFileFails()
{
    QTemporaryDir dir;
    QStringList lines{"keep"};
    QString error;
    QVERIFY(!TextFile::readLines(dir.filePath("none"), lines, &error));
    QVERIFY(!error.isEmpty());
}

void TestTextFile::failedWriteKeepsOldFile()
{
    if (geteuid() == 0)
        QSKIP("root writes into read-only folders");
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    QVERIFY(TextFile::writeLines(path, {"old"}));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    QVERIFY(!TextFile::writeLines(path, {"new"}, &error));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(error.contains(path));
    QCOMPARE(TestSupport::readFile(path), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
