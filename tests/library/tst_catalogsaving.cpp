#include "library/CatalogInfo.h"
#include "library/CatalogLibrary.h"
#include "library/CatalogSaving.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/SaveNewCatalog.h"
#include "TestSupport.h"
#include "library/TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = SaveNewCatalog::Outcome;
using Choice = SaveNewCatalog::Choice;

namespace {

QString entry(const QString &name, const QString &size, const QString &dir,
              const QString &comment = QString())
{
    return CommaText::join({name, size, QStringLiteral("01/02/2020 10:00:00"), dir, comment});
}

QStringList fileLines(const QString &path)
{
    QStringList lines;
    TextFile::readLines(path, lines);
    return lines;
}

} // namespace

class TstCatalogSaving : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void merge_data();
    void merge();
    void mergeOfMissingCatalog();
    void saveNew_data();
    void saveNew();
    void saveNeedsCategory();
    void sameNameChoices();
    void renameToTakenNameAsksAgain();
    void overwriteStoresRunInformation();
    void updateKeepsCommentsAndReplacesInformation();
    void failedWriteChangesNothing();
    void infoLineRoundTrip();

private:
    SaveNewCatalog::Request request(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    LibraryState m_state;
};

void TstCatalogSaving::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(m_dir->path()).mkpath(QStringLiteral("Catalogs"));
    m_library = std::make_unique<CatalogLibrary>(m_dir->path());
    m_state = LibraryState();
    m_state.tree.addCategory(QStringLiteral("Disks"));
    m_state.lastRunInfo = QStringLiteral("\"run info\"");
}

SaveNewCatalog::Request TstCatalogSaving::request(const QString &name) const
{
    SaveNewCatalog::Request r;
    r.name = name;
    r.category = 0;
    r.rows = {{QStringLiteral("a, \"b\".txt"), QStringLiteral("3000000000"), QString(),
               QStringLiteral("/m/"), QString(), QStringLiteral("sixth cell not written")},
              {QStringLiteral("c.txt"), QStringLiteral("1"), QString(), QStringLiteral("/m/")}};
    r.driveType = QStringLiteral("Fixed");
    return r;
}

void TstCatalogSaving::merge_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("scanned");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("expected");

    const QString a = entry("a.txt", "10", "/d/", "kept comment");
    const QString b = entry("b.txt", "20", "/d/");
    const QString c = entry("c.txt", "30", "/d/");
    const QString d = entry("d.txt", "40", "/d/");
    QTest::newRow("deleted, added, resized")
        << QStringList{a, b, c} << QStringList{entry("a.txt", "99", "/d/"), b, d} << 1 << 1
        << QStringList{a, b, d};
    QTest::newRow("identical") << QStringList{a, b} << QStringList{b, entry("a.txt", "10", "/d/")}
                               << 0 << 0 << QStringList{a, b};
    QTest::newRow("case-only rename is the same file")
        << QStringList{a} << QStringList{entry("A.TXT", "10", "/D/")} << 0 << 0 << QStringList{a};
    QTest::newRow("moved file loses its comment")
        << QStringList{a} << QStringList{entry("a.txt", "10", "/e/")} << 1 << 1
        << QStringList{entry("a.txt", "10", "/e/")};
    // Counting by the difference of list sizes would report one removal here.
    QTest::newRow("two stored lines of one file")
        << QStringList{a, entry("a.txt", "10", "/d/", "other")} << QStringList{entry("a.txt", "1", "/d/")}
        << 0 << 0 << QStringList{a, entry("a.txt", "10", "/d/", "other")};
    QTest::newRow("a new line given twice is one addition")
        << QStringList{a} << QStringList{a, d, d} << 1 << 0 << QStringList{a, d};
}

void TstCatalogSaving::merge()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, scanned);
    QFETCH(int, added);
    QFETCH(int, removed);
    QFETCH(QStringList, expected);
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), stored));

    const auto result = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("disc"), scanned,
                                                       CatalogSaving::MissingCatalog::Refuse);
    QVERIFY(result.ok);
    QCOMPARE(result.added, added);
    QCOMPARE(result.removed, removed);
    QCOMPARE(result.status, QStringLiteral("%1 New Addition(s) %2 Removed").arg(added).arg(removed));
    QStringList written = fileLines(m_library->catalogFilePath(QStringLiteral("Disc")));
    QCOMPARE(result.written, written.size());
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
}

void TstCatalogSaving::mergeOfMissingCatalog()
{
    const QStringList scanned{entry("a.txt", "1", "/d/"), entry("b.txt", "2", "/d/")};
    auto refused = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("Gone"), scanned,
                                                  CatalogSaving::MissingCatalog::Refuse);
    QVERIFY(!refused.ok);
    QCOMPARE(refused.status, QStringLiteral("ERROR - Gone Catalog Does Not Exists!"));
    QVERIFY(!m_library->catalogFileExists(QStringLiteral("Gone")));

    auto merged = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("Gone"), scanned,
                                                 CatalogSaving::MissingCatalog::MergeWithNothing);
    QVERIFY(merged.ok);
    QCOMPARE(merged.status, QStringLiteral("2 New Addition(s) 0 Removed"));
}

void TstCatalogSaving::saveNew_data()
{
    QTest::addColumn<QString>("driveType");
    QTest::addColumn<int>("image");
    QTest::newRow("cd") << "CdRom" << 1;
    QTest::newRow("removable") << "Removable" << 2;
    QTest::newRow("fixed") << "Fixed" << 3;
    QTest::newRow("remote") << "Remote" << 3;
}

void TstCatalogSaving::saveNew()
{
    QFETCH(QString, driveType);
    QFETCH(int, image);
    auto req = request(QStringLiteral("New Disc"));
    req.driveType = driveType;
    SaveNewCatalog save(m_state, *m_library, req);
    const auto r = save.start();
    QCOMPARE(r.outcome, Outcome::Saved);
    QCOMPARE(r.status, QStringLiteral("Saved New Disc Catalog"));
    QVERIFY(r.clearName);

    const QStringList lines = fileLines(m_dir->path() + QStringLiteral("/Catalogs/New Disc.TXT"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(CommaText::split(lines.at(0)),
             (QStringList{"a, \"b\".txt", "3000000000", "", "/m/", ""}));
    QCOMPARE(CommaText::split(lines.at(1)).size(), 5);
    const auto node = m_state.tree.findCatalog(QStringLiteral("new disc"));
    QVERIFY(node.isValid());
    QCOMPARE(m_state.tree.catalog(node).image, image);
    QCOMPARE(m_state.catalogInfo.lines(), (QStringList{"New Disc", m_state.lastRunInfo}));
    QCOMPARE(m_state.savedScanName, QStringLiteral("New Disc"));
}

void TstCatalogSaving::saveNeedsCategory()
{
    auto req = request(QStringLiteral("Fresh"));
    req.category = -1;
    const auto r = SaveNewCatalog(m_state, *m_library, req).start();
    QCOMPARE(r.outcome, Outcome::Refused);
    QCOMPARE(r.warning, QStringLiteral("Please select or create a category\r\nto save this catalog under."));
    QVERIFY(!m_library->catalogFileExists(QStringLiteral("Fresh")));
    QVERIFY(m_state.catalogInfo.isEmpty());
}

void TstCatalogSaving::sameNameChoices()
{
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {entry("old.txt", "1", "/d/")}));
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("disc")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);

    auto r = save.choose(Choice::RenameTo, QString());
    QCOMPARE(r.status, QStringLiteral("Rename Edit Box Was Empty!"));
    r = save.choose(Choice::RenameTo, QStringLiteral("DISC"));
    QCOMPARE(r.status, QStringLiteral("A Catalog With The Same Name Exists!"));
    r = save.choose(Choice::Cancel);
    QCOMPARE(r.outcome, Outcome::Cancelled);
    QCOMPARE(r.status, QStringLiteral("Cancelled"));
    QCOMPARE(fileLines(m_library->catalogFilePath(QStringLiteral("Disc"))).size(), 1);
    QVERIFY(m_state.catalogInfo.isEmpty());
}

void TstCatalogSaving::renameToTakenNameAsksAgain()
{
    const QStringList other{entry("keep.txt", "1", "/d/", "precious")};
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {entry("old.txt", "1", "/d/")}));
    QVERIFY(m_library->writeCatalog(QStringLiteral("Other"), other));
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("Disc")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);

    auto r = save.choose(Choice::RenameTo, QStringLiteral("other"));
    QCOMPARE(r.outcome, Outcome::NeedsChoice);
    QCOMPARE(r.name, QStringLiteral("other"));
    QCOMPARE(fileLines(m_library->catalogFilePath(QStringLiteral("Other"))), other);

    r = save.choose(Choice::RenameTo, QStringLiteral("Third"));
    QCOMPARE(r.outcome, Outcome::Saved);
    QVERIFY(m_library->catalogFileExists(QStringLiteral("Third")));
    QCOMPARE(fileLines(m_library->catalogFilePath(QStringLiteral("Other"))), other);
}

void TstCatalogSaving::overwriteStoresRunInformation()
{
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {entry("old.txt", "1", "/d/", "c")}));
    m_state.tree.addCatalog(0, QStringLiteral("Disc"), CategoryTree::FixedImage);
    m_state.catalogInfo.append(QStringLiteral("Disc"), QStringLiteral("\"old info\""));
    auto req = request(QStringLiteral("Disc"));
    req.driveType = QStringLiteral("CdRom");
    SaveNewCatalog save(m_state, *m_library, req);
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    const auto r = save.choose(Choice::Overwrite);
    QCOMPARE(r.outcome, Outcome::Overwrote);
    QCOMPARE(r.status, QStringLiteral("Overwrote Disc Catalog"));
    QCOMPARE(fileLines(m_library->catalogFilePath(QStringLiteral("Disc"))).size(), 2);
    QCOMPARE(m_state.catalogInfo.lines(), (QStringList{"Disc", m_state.lastRunInfo}));
    QCOMPARE(m_state.tree.catalog(m_state.tree.findCatalog(QStringLiteral("Disc"))).image,
             int(CategoryTree::CdRomImage));
    QCOMPARE(m_state.tree.catalogCount(), 1);
}

void TstCatalogSaving::updateKeepsCommentsAndReplacesInformation()
{
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"),
                                    {entry("c.txt", "7", "/m/", "note"), entry("gone.txt", "1", "/m/")}));
    m_state.catalogInfo.append(QStringLiteral("Disc"), QStringLiteral("\"old info\""));
    m_state.masksCleared = true;
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("Disc")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    const auto r = save.choose(Choice::Update);
    QCOMPARE(r.outcome, Outcome::Updated);
    QCOMPARE(r.status, QStringLiteral("1 New Addition(s) 1 Removed"));
    QVERIFY(r.hidePanel && r.reloadMasks && !m_state.masksCleared);
    QVERIFY(fileLines(m_library->catalogFilePath(QStringLiteral("Disc"))).contains(entry("c.txt", "7", "/m/", "note")));
    QCOMPARE(m_state.catalogInfo.value(QStringLiteral("Disc")), m_state.lastRunInfo);
}

void TstCatalogSaving::failedWriteChangesNothing()
{
    QDir(m_dir->path() + QStringLiteral("/Catalogs")).removeRecursively();
    const auto r = SaveNewCatalog(m_state, *m_library, request(QStringLiteral("Disc"))).start();
    QCOMPARE(r.outcome, Outcome::Failed);
    QCOMPARE(r.status, QStringLiteral("Failed To Save Catalog"));
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(m_state.tree.catalogCount(), 0);
    QVERIFY(m_state.catalogInfo.isEmpty());
    QVERIFY(m_state.savedScanName.isEmpty());
}

void TstCatalogSaving::infoLineRoundTrip()
{
    CatalogInfo info;
    info.fileCount = 3000000000;
    info.directoryCount = 2;
    info.path = QStringLiteral("/media/a, \"b\"/");
    info.options.readOnlyFiles = false;
    info.options.zipContents = true;
    info.masks = QStringList{"*.txt", "*.htm?"};
    CatalogInfo back;
    QVERIFY(CatalogInfo::fromLine(info.toLine(), back));
    QCOMPARE(back.fileCount, info.fileCount);
    QCOMPARE(back.path, info.path);
    QVERIFY(back.options == info.options);
    QCOMPARE(back.masks, info.masks);
    QCOMPARE(CommaText::split(CatalogInfo().toLine()).size(), 15);
    QVERIFY(!CatalogInfo::fromLine(QStringLiteral("\"1\",\"2\""), back));
}

QTEST_GUILESS_MAIN(TstCatalogSaving)
#include "tst_catalogsaving.moc"
