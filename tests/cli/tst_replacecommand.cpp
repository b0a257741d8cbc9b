#include "CliProcess.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

class TestReplaceCommand : public QObject
{
    Q_OBJECT
private slots:
    void replacesAndCounts();
};

void TestReplaceCommand::replacesAndCounts()
{
    QTemporaryDir dir;
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Discs\",\"3Films\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Films.TXT"),
                            {"\"a\",\"1\",\"\",\"/\",\"CD one\"", "\"b\",\"1\",\"\",\"/\",\"CD CD\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Music.TXT"), {"\"c\",\"1\",\"\",\"/\",\"cd\""});

    const CliProcess::TextResult first = CliProcess::runText(dir.path(), {"replace-comments", "CD", "DVD"});
    QCOMPARE(first.code, 0);
    QCOMPARE(first.out, QString("Films\t2\n"));
    QCOMPARE(first.err, QString("Total: 2 replacement(s) in 1 catalog(s)\n"));
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Films.TXT")),
             QByteArray("\"a\",\"1\",\"\",\"/\",\"DVD one\"\r\n\"b\",\"1\",\"\",\"/\",\"DVD CD\"\r\n"));
    // Letter case counts: Music's "cd" stays.
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Music.TXT")),
             QByteArray("\"c\",\"1\",\"\",\"/\",\"cd\"\r\n"));
}

QTEST_GUILESS_MAIN(TestReplaceCommand)
#include "tst_replacecommand.moc"
