#include "indexing/ZipDirectoryReader.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"

#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Listing = QList<QPair<QString, qint64>>;

// Every script is run with the archive's path as its first argument.
const char *const Prelude = "import sys, zipfile, json\n"
                            "path = sys.argv[1]\n"
                            "class Unseekable:\n"
                            "    def __init__(self, f): self.f = f\n"
                            "    def write(self, b): return self.f.write(b)\n"
                            "    def flush(self): self.f.flush()\n";

bool runPython(const QString &script, const QString &path, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("python3"), {QStringLiteral("-c"), QLatin1String(Prelude) + script, path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

// The members as Python's zipfile reads them from the central directory,
// with the offsets of their local headers.
bool pythonListing(const QString &path, Listing &listing, QList<qint64> *offsets = nullptr)
{
    QByteArray json;
    if (!runPython(QStringLiteral("print(json.dumps([[i.filename, i.compress_size, i.header_offset]"
                                  " for i in zipfile.ZipFile(path).infolist()]))"),
                   path, &json))
        return false;
    for (const QJsonValue &member : QJsonDocument::fromJson(json).array()) {
        const QJsonArray fields = member.toArray();
        listing.append({fields.at(0).toString(), qint64(fields.at(1).toDouble())});
        if (offsets)
            offsets->append(qint64(fields.at(2).toDouble()));
    }
    return !listing.isEmpty();
}

Listing readerListing(const ZipDirectoryReader &reader)
{
    Listing listing;
    for (const ZipEntry &entry : reader.entries())
        listing.append({entry.name, entry.compressedSize});
    return listing;
}

// A few members that use both storage methods, a folder and a member in it.
const char *const MixedMembers = "    z.writestr('stored.txt', 'plain text ' * 20, zipfile.ZIP_STORED)\n"
                                 "    z.writestr('packed.txt', 'repeat ' * 500, zipfile.ZIP_DEFLATED)\n"
                                 "    z.writestr(zipfile.ZipInfo('docs/'), '')\n"
                                 "    z.writestr('docs/readme.txt', 'read me ' * 40, zipfile.ZIP_DEFLATED)\n";

QString messageFor(int number, const QString &path)
{
    const char *text = number < 1190    ? "No valid zip entries found in "
                       : number == 1196 ? "Error reading Zip in "
                                        : "Error reading Zip file in ";
    return QString::number(number) + u' ' + QLatin1String(text) + path;
}

} // namespace

class TestZipDirectoryReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pythonArchives_data();
    void pythonArchives();
    void zipToolArchives_data();
    void zipToolArchives();
    void notAnArchive_data();
    void notAnArchive();
    void truncatedArchive_data();
    void truncatedArchive();
    void streamedArchiveWithoutDirectory();
    void missingFileAndFolder();
    void unreadableFile();
    void dosDateTime_data();
    void dosDateTime();
    void catalogLines();
};

void TestZipDirectoryReader::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        QSKIP("python3 is needed to make the test archives");
}

void TestZipDirectoryReader::pythonArchives_data()
{
    QTest::addColumn<QString>("script");
    const QString mixed = QLatin1String(MixedMembers);
    QTest::newRow("stored and deflated") << QStringLiteral("with zipfile.ZipFile(path, 'w') as z:\n") + mixed;
    QTest::newRow("data descriptors, unseekable output")
        << QStringLiteral("with zipfile.ZipFile(Unseekable(open(path, 'wb')), 'w') as z:\n") + mixed;
    QTest::newRow("zip64") << QStringLiteral(
        "with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for n in ('one.txt', 'two.bin', 'sub/three.txt'):\n"
        "        with z.open(n, 'w', force_zip64=True) as f: f.write(n.encode() * 300)\n");
    QTest::newRow("zip64 and data descriptors") << QStringLiteral(
        "with zipfile.ZipFile(Unseekable(open(path, 'wb')), 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for n in ('one.txt', 'two.bin'):\n"
        "        with z.open(n, 'w', force_zip64=True) as f: f.write(n.encode() * 300)\n");
    QTest::newRow("name longer than 256 bytes")
        << QStringLiteral("with zipfile.ZipFile(path, 'w') as z:\n"
                          "    z.writestr('deep/' + 'n' * 400 + '.txt', 'long')\n"
                          "    z.writestr('after.txt', 'next member')\n");
    QTest::newRow("utf-8 names") << QStringLiteral(
        "with zipfile.ZipFile(path, 'w') as z:\n"
        "    z.writestr('caf\\u00e9/r\\u00e9sum\\u00e9.txt', 'x')\n");
    QTest::newRow("data in front of the archive")
        << QStringLiteral("f = open(path, 'wb'); f.write(b'#!stub\\n' * 300)\n"
                          "with zipfile.ZipFile(Unseekable(f), 'w') as z:\n") +
               mixed;
}

void TestZipDirectoryReader::pythonArchives()
{
    QFETCH(QString, script);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("made.zip"));
    QVERIFY(runPython(script, path));
    Listing expected;
    QVERIFY(pythonListing(path, expected));

    ZipDirectoryReader reader;
    reader.setFileName(path);
    QCOMPARE(reader.errorMessage(), QString());
    QCOMPARE(readerListing(reader), expected);
    QCOMPARE(reader.Count(), expected.size());
}

void TestZipDirectoryReader::zipToolArchives_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("deflated") << QStringList();
    QTest::newRow("zip64") << QStringList({"-fz"});
}

void TestZipDirectoryReader::zipToolArchives()
{
    QFETCH(QStringList, options);
    if (QStandardPaths::findExecutable(QStringLiteral("zip")).isEmpty())
        QSKIP("the zip command is not installed");
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("a.txt")), QByteArray(3000, 'a')));
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("docs/readme.txt")), "read me\n"));
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("b.bin")), QByteArray(700, '\x01')));
    QProcess zip;
    zip.setWorkingDirectory(dir.path());
    zip.start(QStringLiteral("zip"),
              QStringList({"-q", "-r"}) + options + QStringList({"made.zip", "a.txt", "docs", "b.bin"}));
    QVERIFY(zip.waitForFinished(60000) && zip.exitCode() == 0);

    const QString path = dir.filePath(QStringLiteral("made.zip"));
    Listing expected;
    QVERIFY(pythonListing(path, expected));
    QCOMPARE(expected.size(), 4); // the folder has an entry of its own
    ZipDirectoryReader reader;
    reader.setFileName(path);
    QCOMPARE(reader.errorMessage(), QString());
    QCOMPARE(readerListing(reader), expected);
}

void TestZipDirectoryReader::notAnArchive_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("message");
    QByteArray empty;
    {
        // An archive with no members: only the end record, no local header.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("e.zip"));
        QVERIFY(runPython(QStringLiteral("zipfile.ZipFile(path, 'w').close()"), path));
        empty = TestSupport::readFile(path);
    }
    QTest::newRow("empty archive") << empty << 1139;
    QTest::newRow("empty file") << QByteArray() << 1139;
    QTest::newRow("text file") << QByteArray("just some text\n") << 1139;
    QTest::newRow("no header in search range") << QByteArray(60001, 'x') << 1149;
    QTest::newRow("search range just fits") << QByteArray(60000, 'x') << 1139;
    QTest::newRow("ends after P") << QByteArray("xxP") << 1159;
    QTest::newRow("ends after PK") << QByteArray("xxPK") << 1170;
    QTest::newRow("ends after PK 3") << QByteArray("xxPK\x03") << 1180;
    QTest::newRow("broken signatures") << QByteArray("PPK\x03\x04PK\x05PK\x03\x05") << 1139;
}

void TestZipDirectoryReader::notAnArchive()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fake.zip"));
    QVERIFY(TestSupport::writeFile(path, bytes));
    ZipDirectoryReader reader;
    reader.setFileName(path);
    QCOMPARE(reader.errorMessage(), messageFor(message, path));
    QCOMPARE(reader.Count(), 0);
}

void TestZipDirectoryReader::truncatedArchive_data()
{
    QTest::addColumn<bool>("zip64");
    QTest::addColumn<int>("member");   // whose local header the cut is measured from
    QTest::addColumn<int>("cutAfter"); // bytes kept after that header's start
    QTest::addColumn<int>("junk");     // bytes without any signature added after the cut
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("message");
    QTest::newRow("inside third member's data") << false << 2 << 100 << 0 << 2 << 1249;
    QTest::newRow("inside second member's header") << false << 1 << 25 << 0 << 1 << 1229;
    QTest::newRow("inside second member's name") << false << 1 << 32 << 0 << 1 << 1229;
    QTest::newRow("garbage after second member") << false << 2 << 0 << 23 << 2 << 1196;
    // Less than an end record after a member's data: that member is dropped.
    QTest::newRow("just after first member") << false << 1 << 12 << 0 << 0 << 1139;
    QTest::newRow("zip64, inside second member's data") << true << 1 << 120 << 0 << 1 << 1249;
}

void TestZipDirectoryReader::truncatedArchive()
{
    QFETCH(bool, zip64);
    QFETCH(int, member);
    QFETCH(int, cutAfter);
    QFETCH(int, junk);
    QFETCH(int, kept);
    QFETCH(int, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.zip"));
    QVERIFY(runPython(QStringLiteral("with zipfile.ZipFile(path, 'w') as z:\n"
                                     "    for n in ('first.txt', 'second.txt', 'third.txt'):\n"
                                     "        with z.open(n, 'w', force_zip64=%1) as f:\n"
                                     "            f.write(n.encode() * 50)\n")
                          .arg(zip64 ? "True" : "False"),
                      path));
    Listing whole;
    QList<qint64> offsets;
    QVERIFY(pythonListing(path, whole, &offsets));
    const QByteArray bytes = TestSupport::readFile(path);
    QVERIFY(TestSupport::writeFile(path, bytes.left(offsets.at(member) + cutAfter) + QByteArray(junk, 'z')));

    ZipDirectoryReader reader;
    reader.setFileName(path);
    QCOMPARE(reader.errorMessage(), messageFor(message, path));
    QCOMPARE(readerListing(reader), whole.mid(0, kept));
}

void TestZipDirectoryReader::streamedArchiveWithoutDirectory()
{
    // Cut before its central directory, a streamed archive has no record of
    // its sizes left; the walk must end with a message and keep the first
    // member rather than run away.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stream.zip"));
    QVERIFY(runPython(QStringLiteral("with zipfile.ZipFile(Unseekable(open(path, 'wb')), 'w') as z:\n"
                                     "    z.writestr('one.txt', 'x' * 33)\n"
                                     "    z.writestr('two.txt', 'y' * 50)\n"),
                      path));
    Listing whole;
    QList<qint64> offsets;
    QVERIFY(pythonListing(path, whole, &offsets));
    const QByteArray bytes = TestSupport::readFile(path);
    QVERIFY(TestSupport::writeFile(path, bytes.left(bytes.indexOf("PK\x01\x02"))));

    ZipDirectoryReader reader;
    reader.setFileName(path);
    QVERIFY(reader.failed());
    QVERIFY(reader.errorMessage().endsWith(path));
    QVERIFY(reader.Count() >= 1);
    QCOMPARE(reader.entries().first().name, QStringLiteral("one.txt"));
}

void TestZipDirectoryReader::missingFileAndFolder()
{
    QTemporaryDir dir;
    ZipDirectoryReader reader;
    reader.setFileName(dir.filePath(QStringLiteral("gone.zip")));
    QVERIFY(!reader.failed());
    QCOMPARE(reader.Count(), 0);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.zip")));
    reader.setFileName(dir.filePath(QStringLiteral("folder.zip")));
    QVERIFY(!reader.failed());
    QCOMPARE(reader.Count(), 0);
}

void TestZipDirectoryReader::unreadableFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.zip"));
    QVERIFY(TestSupport::writeFile(path, "PK\x03\x04"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    QVERIFY(TestSupport::readOverride(false));
    const auto restore = qScopeGuard([] { TestSupport::readOverride(true); });
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("this user can read files without read permission");
    ZipDirectoryReader reader;
    reader.setFileName(path);
    QVERIFY(reader.errorMessage().startsWith(QStringLiteral("Cannot open Zip file ") + path));
    QCOMPARE(reader.Count(), 0);
}

void TestZipDirectoryReader::dosDateTime_data()
{
    QTest::addColumn<quint32>("stamp");
    QTest::addColumn<QDateTime>("expected");
    const auto stamp = [](int y, int mo, int d, int h, int mi, int s) {
        return quint32((((y - 1980) << 9) | (mo << 5) | d) << 16) | quint32((h << 11) | (mi << 5) | (s / 2));
    };
    QTest::newRow("zero") << quint32(0) << QDateTime();
    QTest::newRow("ordinary") << stamp(2021, 3, 4, 5, 6, 8)
                              << QDateTime(QDate(2021, 3, 4), QTime(5, 6, 8), Qt::UTC);
    QTest::newRow("month zero") << stamp(2021, 0, 4, 5, 6, 8) << QDateTime();
    QTest::newRow("day zero") << stamp(2021, 3, 0, 5, 6, 8) << QDateTime();
    QTest::newRow("hour 24") << stamp(2021, 3, 4, 24, 0, 0) << QDateTime();
    QTest::newRow("seconds 60") << stamp(2021, 3, 4, 5, 6, 60) << QDateTime();
    QTest::newRow("last year") << stamp(2107, 12, 31, 23, 59, 58)
                               << QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58), Qt::UTC);
}

void TestZipDirectoryReader::dosDateTime()
{
    QFETCH(quint32, stamp);
    QFETCH(QDateTime, expected);
    QCOMPARE(ZipDirectoryReader::dosDateTime(stamp), expected);
}

void TestZipDirectoryReader::catalogLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dated.ZIP"));
    QVERIFY(runPython(
        QStringLiteral(
            "with zipfile.ZipFile(path, 'w') as z:\n"
            "    z.writestr(zipfile.ZipInfo('noon.txt', (2021, 3, 4, 12, 30, 9)), 'abc')\n"
            "    z.writestr(zipfile.ZipInfo('dir/night.txt', (1999, 12, 31, 0, 0, 0)), 'x' * 10)\n"),
        path));
    ZipDirectoryReader reader;
    reader.setFileName(path);
    const DateFormats formats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"));
    // DOS times keep even seconds only; midnight leaves the time out.
    QCOMPARE(reader.catalogLines(formats),
             QStringList({CommaText::join({"noon.txt", "3", "04.03.2021 12:30:08", path, ""}),
                          CommaText::join({"dir/night.txt", "10", "31.12.1999", path, ""})}));

    ZipEntry undated;
    undated.name = QStringLiteral("a,b.txt");
    undated.compressedSize = 5000000000LL;
    QCOMPARE(CommaText::split(ZipDirectoryReader::catalogLine(undated, path, formats)),
             QStringList({"a,b.txt", "5000000000", "", path, ""}));
}

QTEST_GUILESS_MAIN(TestZipDirectoryReader)
#include "tst_ZipDirectoryReader.moc"
