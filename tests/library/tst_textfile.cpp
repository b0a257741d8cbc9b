#include "TestSupport.h"
#include "library/SortedLineList.h"
#include "library/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
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
    void rewriteKeepsModeOwnerAndLink_data();
    void rewriteKeepsModeOwnerAndLink();
};

void TestTextFile::lineEndings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines")
        << QByteArray("a\r\n\nb\r\r\nc") << QStringList{"a", "", "b", "", "c"};
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
    QTest::newRow("long line after short ones")
        << "x\ny\n" + big + "\nz" << QStringList{"x", "y", QString(big), "z"};
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
    // Root writes into read-only folders unless it gives up that power.
    QVERIFY(TestSupport::readOverride(false));
    const auto restore = qScopeGuard([] { TestSupport::readOverride(true); });
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

void TestTextFile::rewriteKeepsModeOwnerAndLink_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("mode");
    for (const char *writer : {"lines", "compact", "bytes"}) {
        QTest::newRow(qPrintable(QString(writer) + ", read-only")) << QString(writer) << 0444;
        QTest::newRow(qPrintable(QString(writer) + ", private")) << QString(writer) << 0600;
        QTest::newRow(qPrintable(QString(writer) + ", shared")) << QString(writer) << 0664;
    }
}

// A link (here two in a row) is written through to its file, which keeps its
// mode, its owner when root writes, and no temporary is left beside it.
void TestTextFile::rewriteKeepsModeOwnerAndLink()
{
    QFETCH(QString, writer);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString real = dir.filePath("sync/Master.TXT");
    QVERIFY(TestSupport::writeFile(real, "old\r\n"));
    QVERIFY(QFile::link("sync/Master.TXT", dir.filePath("first")));
    QVERIFY(QFile::link(dir.filePath("first"), dir.filePath("Master.TXT")));
    const QByteArray realName = QFile::encodeName(real);
    QCOMPARE(::chmod(realName.constData(), mode_t(mode)), 0);
    const bool root = geteuid() == 0;
    if (root)
        QCOMPARE(::chown(realName.constData(), 1234, 5678), 0);
    const QString path = dir.filePath("Master.TXT");
    SortedLineList compact;
    compact.add("new");
    const bool written = writer == "lines"     ? TextFile::writeLines(path, {"new"})
                         : writer == "compact" ? TextFile::writeLineList(path, compact)
                                               : TextFile::writeBytes(path, "new\r\n");
    QVERIFY(written);
    QCOMPARE(TestSupport::readFile(real), QByteArray("new\r\n"));
    QVERIFY(QFileInfo(path).isSymLink() && QFileInfo(dir.filePath("first")).isSymLink());
    struct stat info;
    QCOMPARE(::stat(realName.constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    if (root)
        QVERIFY(info.st_uid == 1234 && info.st_gid == 5678);
    QCOMPARE(QDir(dir.filePath("sync")).entryList(QDir::Files | QDir::Hidden), QStringList{"Master.TXT"});
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
