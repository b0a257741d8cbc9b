#include "library/FileNameText.h"
#include "library/TextFile.h"
#include "library/Windows1252.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TstFileNameText : public QObject
{
    Q_OBJECT

private slots:
    void fromNative_data();
    void fromNative();
    void windows1252RoundTrip();
    void toNativeFindsTheFile_data();
    void toNativeFindsTheFile();
    void toNativeOfMissingPath();
};

void TstFileNameText::fromNative_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("plain.txt") << QStringLiteral("plain.txt");
    QTest::newRow("utf-8") << QByteArray("\xc3\xa9t\xc3\xa9") << QStringLiteral("\u00e9t\u00e9");
    QTest::newRow("four-byte utf-8") << QByteArray("\xf0\x9f\x98\x80") << QStringLiteral("\U0001F600");
    QTest::newRow("lone ff") << QByteArray("n\xff.txt") << QStringLiteral("n\u00ff.txt");
    QTest::newRow("lone fe") << QByteArray("n\xfe.txt") << QStringLiteral("n\u00fe.txt");
    QTest::newRow("windows-1252 range") << QByteArray("\x80\x9f") << QStringLiteral("\u20ac\u0178");
    QTest::newRow("latin-1 word") << QByteArray("caf\xe9") << QStringLiteral("caf\u00e9");
    QTest::newRow("mixed valid and not") << QByteArray("\xe9-\xc3\xa9") << QStringLiteral("\u00e9-\u00e9");
    QTest::newRow("cut sequence") << QByteArray("a\xe2\x82") << QStringLiteral("a\u00e2\u201a");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QStringLiteral("\u00ed\u00a0\u20ac");
}

void TstFileNameText::fromNative()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(FileNameText::fromNative(bytes), text);
}

void TstFileNameText::windows1252RoundTrip()
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

void TstFileNameText::toNativeFindsTheFile_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("utf-8") << QByteArray("d\xc3\xa9") << QByteArray("f\xc3\xa9.txt");
    QTest::newRow("windows-1252 bytes") << QByteArray("d\xe9") << QByteArray("n\xff.txt");
    QTest::newRow("mixed in one name") << QByteArray("plain") << QByteArray("\xe9-\xc3\xa9");
    QTest::newRow("c1 byte without a character") << QByteArray("x\x81") << QByteArray("y\x8d");
}

void TstFileNameText::toNativeFindsTheFile()
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

void TstFileNameText::toNativeOfMissingPath()
{
    const QString missing = QStringLiteral("/no such dir/\u00e9");
    QCOMPARE(FileNameText::toNative(missing), missing.toUtf8());
}

QTEST_GUILESS_MAIN(TstFileNameText)
#include "tst_filenametext.moc"
