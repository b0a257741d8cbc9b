#include "library/CellFields.h"
#include "library/CommaText.h"
#include "library/FileNameText.h"
#include "library/TextFile.h"
#include "library/Windows1252.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void lineBreaksBecomeBlanks();
    void parse_data();
    void parse();
    void lineFieldsAgreeWithSplit_data();
    void lineFieldsAgreeWithSplit();
    void fromNative_data();
    void fromNative();
    void windows1252RoundTrip();
    void toNativeFindsTheFile_data();
    void toNativeFindsTheFile();
    void toNativeOfMissingPath();
};

void TestText::roundTrip_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << QStringList{"a.txt", "12", "01/02/2003 04:05:06", "/home/u/", ""};
    QTest::newRow("comma in comment") << QStringList{"a", "1", "", "/", "one, two"};
    QTest::newRow("blanks") << QStringList{"  lead", "trail  ", " ", "/x y/", "tab\there"};
    QTest::newRow("empty last field") << QStringList{"a", "", "", "", ""};
    QTest::newRow("double quotes") << QStringList{"say \"hi\".txt", "\"", "\"\"", "/", "x\"y"};
    QTest::newRow("non-ascii") << QStringList{"Überschrift ñ.txt", "1", "", "/données/", "日本"};
}

void TestText::roundTrip()
{
    QFETCH(QStringList, fields);
    const QString line = CommaText::join(fields);
    QVERIFY(line.startsWith(u'"'));
    QVERIFY(line.endsWith(u'"'));
    QCOMPARE(CommaText::split(line), fields);
}

void TestText::lineBreaksBecomeBlanks()
{
    const QString line = CommaText::join({"a", "two\r\nlines\nhere"});
    QVERIFY(!line.contains(u'\n') && !line.contains(u'\r'));
    QCOMPARE(CommaText::split(line), QStringList({"a", "two  lines here"}));
}

void TestText::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty line") << QString() << QStringList();
    QTest::newRow("blank line") << QString(" \t ") << QStringList();
    QTest::newRow("one empty field") << QString("\"\"") << QStringList{""};
    QTest::newRow("trailing comma drops field") << QString("\"a\",") << QStringList{"a"};
    QTest::newRow("missing trailing field") << QString("\"a\",\"b\"") << QStringList{"a", "b"};
    QTest::newRow("leading comma") << QString(",\"b\"") << QStringList{"", "b"};
    QTest::newRow("unquoted ends at blank") << QString("abc def,ghi") << QStringList{"abc", "def", "ghi"};
    QTest::newRow("unquoted ends at comma")
        << QString("1,0Games,1Disc") << QStringList{"1", "0Games", "1Disc"};
    QTest::newRow("blanks around commas") << QString("  \"a\" ,  \"b\"  ") << QStringList{"a", "b"};
    QTest::newRow("doubled quote") << QString("\"a\"\"b\"") << QStringList{"a\"b"};
    QTest::newRow("unclosed quote takes rest") << QString("\"a,b") << QStringList{"a,b"};
    QTest::newRow("control chars skipped") << QString("\x01\x02\"a\"") << QStringList{"a"};
    QTest::newRow("nul ends text") << QString("\"a\",\"b").append(QChar(0)).append("\",\"c\"")
                                   << QStringList{"a", "b"};
    QTest::newRow("text after closing quote") << QString("\"a\"b,\"c\"") << QStringList{"a", "b", "c"};
}

void TestText::parse()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(CommaText::split(line), fields);
    QCOMPARE(CommaText::field(fields, 9), QString());
}

void TestText::lineFieldsAgreeWithSplit_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("plain catalog line") << R"("a.txt","12","01/02/2024 10:00:00","/home/","")";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << " \t ";
    QTest::newRow("doubled quotes") << R"("say ""hi""","x""")";
    QTest::newRow("unclosed quote") << R"("a","b)";
    QTest::newRow("unquoted fields") << "abc,def ghi,,\"j\"";
    QTest::newRow("text after quote") << R"("a"b,"c")";
    QTest::newRow("nul ends line") << QString::fromUtf16(u"\"a\",\"b\0\",\"c\"", 13);
    QTest::newRow("comma inside quotes") << R"("a,b" , "c" ,)";
    QTest::newRow("leading blanks") << "   \"x\"";
    QTest::newRow("lone quote") << "\"";
}

void TestText::lineFieldsAgreeWithSplit()
{
    QFETCH(QString, line);
    const QStringList fields = CommaText::split(line);
    QCOMPARE(CellFields::count(line), int(fields.size()));
    QCOMPARE(CellFields::hasFields(line), !fields.isEmpty());
    for (int k = 0; k <= fields.size() + 1; ++k)
        QCOMPARE(CellFields::text(line, k), CommaText::field(fields, k));
}

void TestText::fromNative_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("plain.txt") << QStringLiteral("plain.txt");
    QTest::newRow("utf-8") << QByteArray("\xc3\xa9t\xc3\xa9") << QStringLiteral("\u00e9t\u00e9");
    QTest::newRow("four-byte utf-8") << QByteArray("\xf0\x9f\x98\x80") << QStringLiteral("\U0001F600");
    QTest::newRow("lone ff") << QByteArray("n\xff.txt") << QStringLiteral("n\u00ff.txt");
    QTest::newRow("windows-1252 range") << QByteArray("\x80\x9f") << QStringLiteral("\u20ac\u0178");
    QTest::newRow("mixed valid and not") << QByteArray("\xe9-\xc3\xa9") << QStringLiteral("\u00e9-\u00e9");
    QTest::newRow("cut sequence") << QByteArray("a\xe2\x82") << QStringLiteral("a\u00e2\u201a");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QStringLiteral("\u00ed\u00a0\u20ac");
}

void TestText::fromNative()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(FileNameText::fromNative(bytes), text);
}

void TestText::windows1252RoundTrip()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    // The catalogs' fallback and the file names' fallback are one table.
    QCOMPARE(TextFile::decode("\xff" + all), Windows1252::decode("\xff" + all));
    for (int b = 0; b < 256; ++b) {
        char back = 0;
        QVERIFY(Windows1252::fromUnicode(Windows1252::toUnicode(uchar(b)), back));
        QCOMPARE(uchar(back), uchar(b));
    }
    char unused;
    QVERIFY(!Windows1252::fromUnicode(QChar(0x0100), unused));
}

void TestText::toNativeFindsTheFile_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("utf-8") << QByteArray("d\xc3\xa9") << QByteArray("f\xc3\xa9.txt");
    QTest::newRow("windows-1252 bytes") << QByteArray("d\xe9") << QByteArray("n\xff.txt");
    QTest::newRow("mixed in one name") << QByteArray("plain") << QByteArray("\xe9-\xc3\xa9");
    QTest::newRow("c1 byte without a character") << QByteArray("x\x81") << QByteArray("y\x8d");
}

void TestText::toNativeFindsTheFile()
{
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, file);
    QTemporaryDir temp;
    const QByteArray root = QFile::encodeName(temp.path()) + '/';
    QVERIFY(mkdir(root + directory, 0755) == 0);
    const QByteArray native = root + directory + '/' + file;
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    const QString dirText = temp.path() + u'/' + FileNameText::fromNative(directory) + u'/';
    QCOMPARE(FileNameText::toNative(dirText + FileNameText::fromNative(file)), native);
    QCOMPARE(FileNameText::toNative(dirText), root + directory + '/');
    // QTemporaryDir cannot remove names that are not UTF-8.
    QCOMPARE(::unlink(native.constData()), 0);
    QCOMPARE(::rmdir(root + directory), 0);
}

void TestText::toNativeOfMissingPath()
{
    const QString missing = QStringLiteral("/no such dir/\u00e9");
    QCOMPARE(FileNameText::toNative(missing), missing.toUtf8());
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
