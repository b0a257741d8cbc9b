#include "TestSupport.h"

#include "table/ExportFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestExportFile : public QObject
{
    Q_OBJECT

private slots:
    void withExtension_data();
    void withExtension();
    void writeReplacesTheOldFile();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
};

void TestExportFile::withExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");
    const QString txt = ExportFile::kTextExtension;
    const QString htm = ExportFile::kHtmlExtension;
    QTest::newRow("no extension") << "/home/u/list" << txt << "/home/u/list.txt";
    QTest::newRow("mixed case") << "list.Txt" << txt << "list.Txt";
    QTest::newRow("the other export's extension") << "list.htm" << txt << "list.htm.txt";
    QTest::newRow("html page") << "page" << htm << "page.htm";
}

void TestExportFile::withExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(ExportFile::withExtension(name, extension), expected);
}

void TestExportFile::writeReplacesTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(TestSupport::writeFile(path, "old contents that are longer\r\n"));
    QString error;
    QVERIFY2(ExportFile::write(path, "new\r\n", &error), qPrintable(error));
    QCOMPARE(TestSupport::readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"list.txt"});
}

void TestExportFile::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder in the way") << "taken.txt";
    QTest::newRow("a missing folder") << "missing/list.txt";
}

void TestExportFile::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken.txt"));
    QVERIFY(TestSupport::writeFile(dir.filePath("taken.txt/inside"), "kept"));
    const QString path = dir.filePath(target);
    QString error;
    QVERIFY(!ExportFile::write(path, "new", &error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY2(error.size() > path.size() + 12, qPrintable(error)); // a reason follows the name
    QCOMPARE(TestSupport::readFile(dir.filePath("taken.txt/inside")), QByteArray("kept"));
    QVERIFY(!QFileInfo(dir.filePath("missing")).exists());
}

void TestExportFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieces");
    QTest::newRow("one large piece") << 64 * 1024 << 1;
    // Small pieces stay in the file's buffer until it is flushed.
    QTest::newRow("a few small pieces") << 100 << 3;
}

void TestExportFile::fullDiskKeepsTheOldFile()
{
    QFETCH(int, size);
    QFETCH(int, pieces);
    QTemporaryDir dir;
    QString reason;
    if (!TestSupport::mountTmpfs(dir.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    const QString path = dir.filePath("page.htm");
    const QByteArray old = "<HTML>\r\nold page\r\n</HTML>\r\n";
    QVERIFY(TestSupport::writeFile(path, old));
    TestSupport::fillDisk(dir.path());
    QString error;
    const auto produce = [&](const ByteSink &sink) {
        for (int i = 0; i < pieces; ++i) {
            if (!sink(QByteArray(size, 'x')))
                return false;
        }
        return true;
    };
    const bool written = ExportFile::write(path, produce, &error);
    const QByteArray after = TestSupport::readFile(path);
    TestSupport::unmount(dir.path());
    QVERIFY(!written);
    QCOMPARE(after, old);
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY2(error.contains(qt_error_string(ENOSPC)), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestExportFile)
#include "tst_exportfile.moc"
