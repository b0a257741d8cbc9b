#include "queries/FileComments.h"

#include <QTest>

class TestFileComments : public QObject
{
    Q_OBJECT
private slots:
    void oneLine_data();
    void oneLine();
    void predefinedList_data();
    void predefinedList();
    void setCommentOfChangesOnlyItsLines();
};

void TestFileComments::oneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF is one break") << "a\r\nb" << QString("a b");
    QTest::newRow("lone CR and LF") << "a\rb\nc" << QString("a b c");
    QTest::newRow("two breaks") << "a\r\n\r\nb" << QString("a  b");
    QTest::newRow("paragraph and line separators")
        << QString("a") + QChar::ParagraphSeparator + "b" + QChar::LineSeparator + "c"
        << "a b c";
    QTest::newRow("no break") << "plain, \"quoted\"" << QString("plain, \"quoted\"");
}

void TestFileComments::oneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(FileComments::oneLine(text), line);
}

void TestFileComments::predefinedList_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("after");
    const QStringList list{"apple", "BACKUP", "zeta"};
    QTest::newRow("add at its sorted place")
        << list << "add" << QString("Music") << true << QStringList{"apple", "BACKUP", "Music", "zeta"};
    QTest::newRow("add another letter case") << list << "add" << QString("Backup") << false << list;
    QTest::newRow("add empty") << list << "add" << QString("") << false << list;
    QTest::newRow("add accented case differs")
        << QStringList{"é"} << "add" << QString("É") << true << QStringList{"é", "É"};
    QTest::newRow("edit moves to sorted place")
        << list << "edit0" << QString("young") << true << QStringList{"BACKUP", "young", "zeta"};
    QTest::newRow("edit to empty") << list << "edit0" << QString("") << false << list;
    QTest::newRow("edit to an existing text")
        << list << "edit2" << QString("apple") << true << QStringList{"apple", "apple", "BACKUP"};
    QTest::newRow("remove exact before case")
        << QStringList{"Backup", "BACKUP"} << "remove" << QString("BACKUP") << true << QStringList{"Backup"};
    QTest::newRow("remove in another case")
        << list << "remove" << QString("backup") << true << QStringList{"apple", "zeta"};
    QTest::newRow("remove missing") << list << "remove" << QString("none") << false << list;
}

void TestFileComments::predefinedList()
{
    QFETCH(QStringList, list);
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(bool, changed);
    QFETCH(QStringList, after);
    bool result = false;
    if (operation == "add")
        result = FileComments::addPredefined(list, text);
    else if (operation == "remove")
        result = FileComments::removePredefined(list, text);
    else
        result = FileComments::editPredefined(list, operation.mid(4).toInt(), text);
    QCOMPARE(result, changed);
    QCOMPARE(list, after);
}

void TestFileComments::setCommentOfChangesOnlyItsLines()
{
    // The other lines keep their exact text, odd spacing included.
    const QString other = " \"b.txt\" , \"2\",\"\",\"/d/\",\"keep\"";
    QStringList lines{"\"a.txt\",\"1\",\"\",\"/d/\",\"old\"", other, "\"A.TXT\",\"1\",\"\",\"/d/\",\"upper\"",
                      "\"a.txt\",\"1\",\"\",\"/d/sub/\",\"deeper\""};
    QCOMPARE(FileComments::setCommentOf(lines, "/d/a.txt", "say \"hi\"\nnow"), 1);
    QCOMPARE(lines.at(0), QString("\"a.txt\",\"1\",\"\",\"/d/\",\"say \"\"hi\"\" now\""));
    QCOMPARE(lines.at(1), other);
    QCOMPARE(FileComments::commentsOf(lines, "/d/A.TXT"), QStringList{"upper"});
    QCOMPARE(FileComments::commentsOf(lines, "/d/sub/a.txt"), QStringList{"deeper"});
    QCOMPARE(FileComments::setCommentOf(lines, "/d/none", "x"), 0);
    QCOMPARE(FileComments::setCommentOf(lines, "/d/a.txt", ""), 1);
    QCOMPARE(FileComments::commentsOf(lines, "/d/a.txt"), QStringList{""});
}

QTEST_GUILESS_MAIN(TestFileComments)
#include "tst_filecomments.moc"
