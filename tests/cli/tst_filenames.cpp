#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"
#include "library/TextFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

using Run = CliProcess::TextResult;

// Files made by their bytes, all of one size and time, so that only their
// names tell their lines apart.
bool makeFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, "data", 4) == 4;
    ::close(fd);
    const utimbuf stamp{1000000000, 1000000000};
    return written && utime(path.constData(), &stamp) == 0;
}

} // namespace

// Names that are not UTF-8 and names that differ only in letter case, from
// indexing through update, search and duplicates with the command-line tool.
class TestFileNames : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void indexUpdateSearchAndDuplicates();
    void rootWithUndecodableName();

private:
    Run cli(const QStringList &args) const { return CliProcess::runText(m_library->path(), args); }
    QStringList catalog(const QString &name) const
    {
        QStringList lines;
        TextFile::readLines(m_library->filePath("Catalogs/" + name + ".TXT"), lines);
        return lines;
    }
    // The first and last field of each printed result: name and catalog.
    static QStringList namesAndCatalogs(const QString &out)
    {
        QStringList rows;
        for (const QString &row : out.split(u'\n', Qt::SkipEmptyParts))
            rows << row.section(u'\t', 0, 0) + u'@' + row.section(u'\t', -1);
        return rows;
    }

    std::unique_ptr<QTemporaryDir> m_library;
    std::unique_ptr<QTemporaryDir> m_source;
    QByteArray m_native; // the source folder as bytes, with its "/"
};

void TestFileNames::init()
{
    m_library = std::make_unique<QTemporaryDir>();
    m_source = std::make_unique<QTemporaryDir>();
    m_native = QFile::encodeName(m_source->path()) + '/';
    QVERIFY(TestSupport::writeLines(m_library->filePath("Master.TXT"), {"\"0\",\"0Disks\""}));
    for (const char *name : {"n\xff.txt", "n\xfe.txt", "Same.txt", "same.TXT"})
        QVERIFY(makeFile(m_native + name));
}

void TestFileNames::cleanup()
{
    // QDir cannot remove names that are not UTF-8.
    QProcess::execute("rm", {"-rf", m_source->path()});
}

void TestFileNames::indexUpdateSearchAndDuplicates()
{
    Run run = cli({"index", m_source->path(), "--name", "Disc", "--category", "Disks"});
    QCOMPARE(run.code, 0);
    QStringList lines = catalog("Disc");
    QCOMPARE(lines.size(), 4);

    // Comment every entry, then add a file whose name differs from stored
    // ones only in its undecodable byte.
    for (QString &line : lines) {
        QStringList f = CommaText::split(line);
        f[4] = "note " + f.at(0);
        line = CommaText::join(f);
    }
    QVERIFY(TestSupport::writeLines(m_library->filePath("Catalogs/Disc.TXT"), lines));
    QVERIFY(makeFile(m_native + "n\xfd.txt"));
    run = cli({"update", "Disc", "--yes"});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.startsWith("1 New Addition(s) 0 Removed\n"), qPrintable(run.out));
    QStringList comments;
    for (const QString &line : catalog("Disc"))
        comments << CommaText::split(line).value(0) + u'=' + CommaText::split(line).value(4);
    QCOMPARE(comments,
             QStringList({"n\u00fd.txt=", "n\u00ff.txt=note n\u00ff.txt", "n\u00fe.txt=note n\u00fe.txt",
                          "Same.txt=note Same.txt", "same.TXT=note same.TXT"}));

    run = cli({"search", "--word", "same.txt"});
    QCOMPARE(run.code, 0);
    QCOMPARE(namesAndCatalogs(run.out), QStringList({"Same.txt@Disc", "same.TXT@Disc"}));
    run = cli({"search", "--word", "n\u00fe.txt"});
    QCOMPARE(namesAndCatalogs(run.out), QStringList({"n\u00fe.txt@Disc"}));

    QCOMPARE(cli({"index", m_source->path(), "--name", "Copy", "--category", "Disks"}).code, 0);
    run = cli({"dupes"});
    QCOMPARE(run.code, 0);
    QStringList rows = namesAndCatalogs(run.out);
    rows.sort();
    QCOMPARE(rows, QStringList({"Same.txt@Copy", "Same.txt@Disc", "n\u00fd.txt@Copy", "n\u00fd.txt@Disc",
                                "n\u00fe.txt@Copy", "n\u00fe.txt@Disc", "n\u00ff.txt@Copy",
                                "n\u00ff.txt@Disc", "same.TXT@Copy", "same.TXT@Disc"}));
}

// The scan's own test shows how a catalog spells such a root; here the same
// folder is given by its bytes, as a shell passes a typed name.
void TestFileNames::rootWithUndecodableName()
{
    QVERIFY(mkdir(m_native + "r\xfe", 0755) == 0);
    QVERIFY(makeFile(m_native + "r\xfe/inside.txt"));
    const int code = QProcess::execute(
        "sh", {"-c",
               "exec \"$0\" --library \"$1\" index \"$2$(printf 'r\\376')\" --name Raw --category Disks"
               " >/dev/null",
               KESTROVANE_CLI, m_library->path(), m_source->path() + "/"});
    QCOMPARE(code, 0);
    QCOMPARE(catalog("Raw").size(), 1);
    QCOMPARE(CommaText::split(catalog("Raw").value(0)).value(3), m_source->path() + "/r\u00fe/");
}

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
