#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CatalogInfo.h"
#include "library/CommaText.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

using Run = CliProcess::TextResult;

// Games holds Stick (a folder's catalog, with a comment on one file) and
// été; Stray.TXT is a catalog file that no node names.
class Library
{
public:
    Library()
    {
        source = m_source.path() + "/";
        TestSupport::writeFile(source + "kept.txt", "k");
        TestSupport::writeFile(source + "other.txt", "o");
        CatalogInfo info;
        info.path = source;
        info.driveType = "Fixed";
        TestSupport::writeLines(path("Master.TXT"), {"\"2\",\"0Games\",\"3Stick\",\"3\u00e9t\u00e9\""});
        TestSupport::writeLines(path("Catalogs/Master"), {"Stick", info.toLine()});
        TestSupport::writeLines(path("Catalogs/Stick.TXT"),
                                {line("kept.txt", "keep me"), line("other.txt", "and me")});
        TestSupport::writeLines(path("Catalogs/\u00e9t\u00e9.TXT"), {line("x.txt")});
        TestSupport::writeLines(path("Catalogs/Stray.TXT"), {line("stray.txt", "not Stick's")});
    }
    QString path(const QString &relative) const { return m_library.filePath(relative); }
    QString line(const QString &name, const QString &comment = QString()) const
    {
        return CommaText::join({name, "1", "06/14/1998 10:00:00", source, comment});
    }
    Run cli(const QStringList &args) const { return CliProcess::runText(m_library.path(), args); }
    // Every file of the library (root and Catalogs) with its bytes.
    QMap<QString, QByteArray> snapshot() const { return TestSupport::librarySnapshot(m_library.path()); }

    QString source;

private:
    QTemporaryDir m_library;
    QTemporaryDir m_source;
};

} // namespace

class TestCliSafeguards : public QObject
{
    Q_OBJECT
private slots:
    void emptyRescanNeedsYes();
    void foreignRecordStopsEveryCommand();
};

// A changing command refuses to go on past such a record; a reading one
// leaves it alone, as it leaves every record.
void TestCliSafeguards::foreignRecordStopsEveryCommand()
{
    Library lib;
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim.txt");
    TestSupport::writeFile(victim, "mine");
    const QString record = lib.path("Kestrovane.commit");
    TestSupport::writeLines(record, {"Kestrovane commit record", "remove " + QUrl::toPercentEncoding(victim),
                                     "remove Master.TXT", "end"});
    const auto before = lib.snapshot();
    QCOMPARE(lib.cli({"tree"}).code, 0);
    for (const QStringList &args :
         {QStringList{"add-category", "New"}, QStringList{"replace-comments", "keep", "drop"}}) {
        const Run r = lib.cli(args);
        QCOMPARE(r.code, 3);
        QCOMPARE(r.err,
                 "kestrovane-cli: The change record " + record +
                     " does not come from Kestrovane and was not carried out. Move it out of the library "
                     "folder, then start again.\n");
    }
    QCOMPARE(lib.snapshot(), before);
    QCOMPARE(TestSupport::readFile(victim), QByteArray("mine"));
}

void TestCliSafeguards::emptyRescanNeedsYes()
{
    Library lib;
    QVERIFY(QFile::remove(lib.source + "kept.txt") && QFile::remove(lib.source + "other.txt"));
    const auto before = lib.snapshot();
    Run r = lib.cli({"update", "Stick"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("No files were found in " + lib.source + ", but catalog Stick holds 2 entries."),
             qPrintable(r.err));
    QVERIFY(r.err.contains("(answer with --yes)"));
    QCOMPARE(lib.snapshot(), before);

    r = lib.cli({"update", "Stick", "--yes"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith("0 New Addition(s) 2 Removed\n"), qPrintable(r.out));
    QVERIFY(TestSupport::readFile(lib.path("Catalogs/Stick.TXT")).isEmpty());
}

QTEST_GUILESS_MAIN(TestCliSafeguards)
#include "tst_clisafeguards.moc"
