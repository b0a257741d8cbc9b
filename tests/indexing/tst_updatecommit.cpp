// An update stores the merged catalog and its information line together:
// stopped at any commit point, start-up finds the old or the new library.
#include "ScanTestControl.h"
#include "TestSupport.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryTransaction.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kInfoLine = "\"2\",\"1\",\"/m\",\"/m/\",\"1 KB\",\"1 KB\",\"Fixed\",\"\",\"True\",\"True\","
                          "\"True\",\"True\",\"True\",\"False\",\"0\"";

// A library whose catalog Disc holds a.txt (with a comment) and gone.txt,
// and a volume that holds a.txt and new.txt.
void writeLibrary(const QString &root, const QString &volume)
{
    TestSupport::writeLines(root + "/Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Disc", kInfoLine});
    TestSupport::writeLines(root + "/Comments.TXT", {});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT",
                            {"\"a.txt\",\"1\",\"\",\"" + volume + "/\",\"kept comment\"",
                             "\"gone.txt\",\"1\",\"\",\"" + volume + "/\",\"\""});
}

bool update(const CatalogLibrary &library, LibraryState &state, const QString &volume)
{
    UpdateRun::Params params;
    params.catalogName = "Disc";
    params.directory = volume;
    params.now = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 6));
    params.volume = VolumeInfo("/", "Fixed", 1048576, 1048576);
    ScanTestControl control(state);
    return UpdateRun(state, library, control).run(params).outcome == UpdateRun::Outcome::Updated;
}

} // namespace

class TestUpdateCommit : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { LibraryTransaction::abandonAtCommitPoint(0); }
    void stoppedUpdateIsWholeAfterStartUp();
};

void TestUpdateCommit::stoppedUpdateIsWholeAfterStartUp()
{
    QTemporaryDir volume;
    TestSupport::writeFile(volume.filePath("a.txt"), "1");
    TestSupport::writeFile(volume.filePath("new.txt"), "22");
    QMap<QString, QByteArray> before;
    QMap<QString, QByteArray> after;
    {
        QTemporaryDir dir;
        writeLibrary(dir.path(), volume.path());
        before = TestSupport::librarySnapshot(dir.path());
        CatalogLibrary library(dir.path());
        LibraryState state;
        QVERIFY(library.startUp(state));
        QVERIFY(update(library, state, volume.path()));
        after = TestSupport::librarySnapshot(dir.path());
        QVERIFY(after.value("Catalogs/Disc.TXT").contains("kept comment"));
        QVERIFY(after.value("Catalogs/Master") != before.value("Catalogs/Master"));
    }
    int point = 1;
    for (;; ++point) {
        QTemporaryDir dir;
        writeLibrary(dir.path(), volume.path());
        CatalogLibrary library(dir.path());
        LibraryState state;
        QVERIFY(library.startUp(state));
        LibraryTransaction::abandonAtCommitPoint(point);
        const bool finished = update(library, state, volume.path());
        LibraryTransaction::abandonAtCommitPoint(0);
        if (finished)
            break;
        QVERIFY(LibraryTransaction::lastCommitAbandoned());
        LibraryState reloaded;
        QVERIFY(library.startUp(reloaded));
        QVERIFY2(TestSupport::librarySnapshot(dir.path()) == (point == 1 ? before : after),
                 qPrintable(QString::number(point)));
    }
    QVERIFY(point >= 5); // the catalog and its information line
}

QTEST_GUILESS_MAIN(TestUpdateCommit)
#include "tst_updatecommit.moc"
