#include "TestSupport.h"
#include "library/CatalogInfo.h"
#include "library/CatalogLibrary.h"
#include "library/CatalogName.h"
#include "library/CatalogSaving.h"
#include "library/CategoryName.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/SaveNewCatalog.h"
#include "library/TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = SaveNewCatalog::Outcome;
using Choice = SaveNewCatalog::Choice;

namespace {

QString entry(const char *name, const char *size, const char *dir, const char *comment = "")
{
    return CommaText::join({name, size, "01/02/2020 10:00:00", dir, comment});
}

} // namespace

using Outcome = SaveNewCatalog::Outcome;
using Choice = SaveNewCatalog::Choice;

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
    void sameNameChoices();
    void overwriteStoresRunInformation();
    void updateKeepsCommentsAndReplacesInformation();
    void failedWriteChangesNothing();
    void infoLineRoundTrip();
    void validity_data();
    void validity();
    void taken_data();
    void taken();
    void renameProblems_data();
    void renameProblems();
    void saveAppliesTheRule_data();
    void saveAppliesTheRule();
    void overwriteOfStrayFileFilesItInTheTree();

private:
    QStringList stored(const QString &name) const
    {
        QStringList lines;
        TextFile::readLines(m_library->catalogFilePath(name), lines);
        return lines;
    }
    SaveNewCatalog::Request request(const QString &name, int category = 0) const
    {
        // A quote and a comma in a name, a size beyond 32 bits, a sixth cell
        // that must not be written, a row of fewer cells.
        return {name,
                category,
                {{"a, \"b\".txt", "3000000000", "", "/m/", "", "catalog name"}, {"c.txt", "1", "", "/m/"}},
                QStringLiteral("Fixed")};
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    LibraryState m_state;
    // été is a node, Ürün an information pair only, Stray and ça files only.
    void addNamesOfAllKinds()
    {
        m_state.tree.addCatalog(0, QStringLiteral("\u00e9t\u00e9"), CategoryTree::FixedImage);
        m_state.catalogInfo.append(QStringLiteral("\u00dcr\u00fcn"), QStringLiteral("\"info\""));
        writeCatalog(QStringLiteral("Stray"));
        writeCatalog(QStringLiteral("\u00e7a"));
    }
    void writeCatalog(const QString &name) const
    {
        QVERIFY(m_library->writeCatalog(name, {CommaText::join({"a.txt", "1", "", "/m/", "note"})}));
    }
    SaveNewCatalog::Request oneFile(const QString &name) const
    {
        return {name, 0, {{"new.txt", "2", "", "/m/", ""}}, QStringLiteral("Fixed")};
    }
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

void TstCatalogSaving::merge_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("scanned");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("expected");
    const QString a = entry("a.txt", "10", "/d/", "kept comment");
    const QString b = entry("b.txt", "20", "/d/");
    const QString d = entry("d.txt", "40", "/d/");
    QTest::newRow("deleted, added, resized")
        << QStringList{a, b, entry("c.txt", "30", "/d/")} << QStringList{entry("a.txt", "99", "/d/"), b, d}
        << 1 << 1 << QStringList{a, b, d};
    QTest::newRow("identical") << QStringList{a, b} << QStringList{b, entry("a.txt", "10", "/d/")} << 0 << 0
                               << QStringList{a, b};
    QTest::newRow("case-only rename")
        << QStringList{a} << QStringList{entry("A.TXT", "10", "/D/")} << 0 << 0 << QStringList{a};
    QTest::newRow("moved file loses its comment")
        << QStringList{a} << QStringList{entry("a.txt", "10", "/e/")} << 1 << 1
        << QStringList{entry("a.txt", "10", "/e/")};
    // A count by the difference of list sizes would report one removal here.
    const QString a2 = entry("a.txt", "10", "/d/", "other");
    QTest::newRow("two stored lines of one file")
        << QStringList{a, a2} << QStringList{entry("a.txt", "1", "/d/")} << 0 << 0 << QStringList{a, a2};
    QTest::newRow("a new line given twice")
        << QStringList{a} << QStringList{a, d, d} << 1 << 0 << QStringList{a, d};
    // "A.TXT" beside "a.txt" is another file, not a rename of it.
    QTest::newRow("case twin added beside a stored file")
        << QStringList{a} << QStringList{entry("A.TXT", "5", "/d/"), entry("a.txt", "10", "/d/")} << 1 << 0
        << QStringList{a, entry("A.TXT", "5", "/d/")};
    const QString twin = entry("A.TXT", "5", "/d/", "twin comment");
    QTest::newRow("stored case twins keep their own comments")
        << QStringList{a, twin} << QStringList{entry("a.txt", "10", "/d/"), entry("A.TXT", "5", "/d/")} << 0
        << 0 << QStringList{a, twin};
    QTest::newRow("one of two case twins deleted")
        << QStringList{a, twin} << QStringList{entry("A.TXT", "5", "/d/")} << 0 << 1 << QStringList{twin};
    QTest::newRow("case twin directories")
        << QStringList{a} << QStringList{entry("a.txt", "10", "/d/"), entry("a.txt", "10", "/D/")} << 1 << 0
        << QStringList{a, entry("a.txt", "10", "/D/")};
    // A name with a line break is written with a blank, so its line has the
    // key of the file whose name holds a blank there; both are entries.
    const QString blank = entry("a b", "3", "/d/", "blank comment");
    QTest::newRow("line-break name beside a stored blank name")
        << QStringList{blank} << QStringList{entry("a b", "7", "/d/"), entry("a b", "3", "/d/")} << 1 << 0
        << QStringList{blank, entry("a b", "7", "/d/")};
    QTest::newRow("both stored, one deleted, the other resized")
        << QStringList{blank, entry("a b", "7", "/d/", "other")} << QStringList{entry("a b", "9", "/d/")} << 0
        << 0 << QStringList{blank, entry("a b", "7", "/d/", "other")};
    QTest::newRow("accented key differs") << QStringList{a} << QStringList{entry("\u00e1.txt", "10", "/d/")}
                                          << 1 << 1 << QStringList{entry("\u00e1.txt", "10", "/d/")};
}

void TstCatalogSaving::merge()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, scanned);
    QFETCH(int, added);
    QFETCH(int, removed);
    QFETCH(QStringList, expected);
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), before));
    const auto result = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("disc"), scanned,
                                                       CatalogSaving::MissingCatalog::Refuse);
    QVERIFY(result.ok);
    QCOMPARE(result.status, QStringLiteral("%1 New Addition(s) %2 Removed").arg(added).arg(removed));
    QStringList written = stored(QStringLiteral("Disc"));
    QCOMPARE(result.written, written.size());
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
}

void TstCatalogSaving::mergeOfMissingCatalog()
{
    const QStringList scanned{entry("a.txt", "1", "/d/"), entry("b.txt", "2", "/d/")};
    auto r = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("Gone"), scanned,
                                            CatalogSaving::MissingCatalog::Refuse);
    QCOMPARE(r.status, QStringLiteral("ERROR - Gone Catalog Does Not Exists!"));
    QVERIFY(!r.ok && !m_library->catalogFileExists(QStringLiteral("Gone")));
    r = CatalogSaving::MergeWithStored(*m_library, QStringLiteral("Gone"), scanned,
                                       CatalogSaving::MissingCatalog::MergeWithNothing);
    QCOMPARE(r.status, QStringLiteral("2 New Addition(s) 0 Removed"));
}

void TstCatalogSaving::saveNew_data()
{
    QTest::addColumn<QString>("driveType");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("image");
    QTest::newRow("cd") << "CdRom" << 0 << 1;
    QTest::newRow("remote") << "Remote" << 0 << 3;
    QTest::newRow("no category") << "Fixed" << -1 << -1;
}

void TstCatalogSaving::saveNew()
{
    QFETCH(QString, driveType);
    QFETCH(int, category);
    QFETCH(int, image);
    auto req = request(QStringLiteral("New Disc"), category);
    req.driveType = driveType;
    const auto r = SaveNewCatalog(m_state, *m_library, req).start();
    if (image < 0) {
        QCOMPARE(r.warning,
                 QStringLiteral("Please select or create a category\r\nto save this catalog under."));
        QVERIFY(!m_library->catalogFileExists(QStringLiteral("New Disc")) && m_state.catalogInfo.isEmpty());
        return;
    }
    QCOMPARE(r.status, QStringLiteral("Saved New Disc Catalog"));
    const QStringList lines = stored(QStringLiteral("new disc"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(CommaText::split(lines.at(0)), (QStringList{"a, \"b\".txt", "3000000000", "", "/m/", ""}));
    QCOMPARE(m_state.tree.catalog(m_state.tree.findCatalog(QStringLiteral("new disc"))).image, image);
    QCOMPARE(m_state.catalogInfo.lines(), (QStringList{"New Disc", m_state.lastRunInfo}));
    QCOMPARE(m_state.savedScanName, QStringLiteral("New Disc"));
}

void TstCatalogSaving::sameNameChoices()
{
    const QStringList other{entry("keep.txt", "1", "/d/", "precious")};
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {entry("old.txt", "1", "/d/")}));
    QVERIFY(m_library->writeCatalog(QStringLiteral("Other"), other));
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("disc")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    QCOMPARE(save.choose(Choice::RenameTo, QString()).status, QStringLiteral("Rename Edit Box Was Empty!"));
    QCOMPARE(save.choose(Choice::RenameTo, QStringLiteral("DISC")).status,
             QStringLiteral("A Catalog With The Same Name Exists!"));
    QCOMPARE(save.choose(Choice::Cancel).status, QStringLiteral("Cancelled"));
    // A Rename To name that is itself taken asks again instead of replacing it.
    auto r = save.choose(Choice::RenameTo, QStringLiteral("other"));
    QCOMPARE(r.outcome, Outcome::NeedsChoice);
    QCOMPARE(r.name, QStringLiteral("other"));
    QCOMPARE(save.choose(Choice::RenameTo, QStringLiteral("Third")).outcome, Outcome::Saved);
    QCOMPARE(stored(QStringLiteral("Other")), other);
    QCOMPARE(stored(QStringLiteral("Disc")).size(), 1);
    QCOMPARE(m_state.catalogInfo.pairCount(), 1);
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
    QCOMPARE(save.choose(Choice::Overwrite).status, QStringLiteral("Overwrote Disc Catalog"));
    QCOMPARE(stored(QStringLiteral("Disc")).size(), 2);
    QCOMPARE(m_state.catalogInfo.lines(), (QStringList{"Disc", m_state.lastRunInfo}));
    QCOMPARE(m_state.tree.catalog(m_state.tree.findCatalog(QStringLiteral("Disc"))).image, 1);
    QCOMPARE(m_state.tree.catalogCount(), 1);
}

void TstCatalogSaving::updateKeepsCommentsAndReplacesInformation()
{
    const QString noted = entry("c.txt", "7", "/m/", "note");
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {noted, entry("gone.txt", "1", "/m/")}));
    m_state.catalogInfo.append(QStringLiteral("Disc"), QStringLiteral("\"old info\""));
    m_state.masksCleared = true;
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("Disc")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    const auto r = save.choose(Choice::Update);
    QCOMPARE(r.status, QStringLiteral("1 New Addition(s) 1 Removed"));
    QVERIFY(r.hidePanel && r.reloadMasks && !m_state.masksCleared);
    QVERIFY(stored(QStringLiteral("Disc")).contains(noted));
    QCOMPARE(m_state.catalogInfo.value(QStringLiteral("Disc")), m_state.lastRunInfo);
}

void TstCatalogSaving::failedWriteChangesNothing()
{
    QDir(m_dir->path() + QStringLiteral("/Catalogs")).removeRecursively();
    const auto r = SaveNewCatalog(m_state, *m_library, request(QStringLiteral("Disc"))).start();
    QCOMPARE(r.outcome, Outcome::Failed);
    QCOMPARE(r.status, QStringLiteral("Failed To Save Catalog"));
    QVERIFY(!r.error.isEmpty());
    QVERIFY(m_state.tree.catalogCount() == 0 && m_state.catalogInfo.isEmpty() &&
            m_state.savedScanName.isEmpty());
}

void TstCatalogSaving::infoLineRoundTrip()
{
    CatalogInfo info;
    info.fileCount = 3000000000;
    info.path = QStringLiteral("/media/a, \"b\"/");
    info.options.readOnlyFiles = false;
    info.masks = QStringList{"*.txt", "*.htm?"};
    CatalogInfo back;
    QVERIFY(CatalogInfo::fromLine(info.toLine(), back));
    QVERIFY(back.fileCount == info.fileCount && back.path == info.path && back.options == info.options);
    QCOMPARE(back.masks, info.masks);
    QVERIFY(!CatalogInfo::fromLine(QStringLiteral("\"1\",\"2\""), back));
}

void TstCatalogSaving::validity_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");         // a word of the message, empty when valid
    QTest::addColumn<QString>("categoryProblem"); // the same for a category name

    const QString slash = QStringLiteral("\"/\"");
    QTest::newRow("plain") << "Backup 2024" << QString("") << "";
    QTest::newRow("quotes and commas") << "My \"best\", disc" << QString("") << "";
    QTest::newRow("leading dot") << ".hidden" << QString("") << "";
    QTest::newRow("accented") << "\u00e9t\u00e9" << QString("") << "";
    QTest::newRow("slash") << "a/b" << slash << "";
    QTest::newRow("escape from Catalogs") << "../Escaped" << slash << "";
    QTest::newRow("dot") << "." << slash << "";
    QTest::newRow("dot dot") << ".." << slash << "";
    QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << slash << "control character";
    QTest::newRow("line feed") << "two\nlines" << QString("line break") << "line break";
    QTest::newRow("carriage return") << "two\rlines" << QString("line break") << "line break";
    QTest::newRow("CR LF") << "two\r\nlines" << QString("line break") << "line break";
    QTest::newRow("next line (C1)") << "two\u0085lines" << QString("line break") << "line break";
    QTest::newRow("line separator") << "two\u2028lines" << QString("line break") << "line break";
    for (const char16_t control : {u'\t', u'\x1b', u'\x7f', u'\x9b'})
        QTest::addRow("control U+%04X", unsigned(control))
            << "a" + QString(QChar(control)) + "b"
            << "control character" << QString("control character");
    // NAME_MAX counts bytes of the file name, ".TXT" included.
    QTest::newRow("longest ASCII") << QString(251, u'x') << "" << QString("");
    QTest::newRow("one byte too long") << QString(252, u'x') << "251 bytes" << QString("");
    QTest::newRow("two-byte letters too long") << QString(126, QChar(0xe9)) << "251 bytes" << QString("");
    QTest::newRow("two-byte letters that fit") << QString(125, QChar(0xe9)) << "" << QString("");
}

void TstCatalogSaving::validity()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QFETCH(QString, categoryProblem);
    addNamesOfAllKinds();
    const QString forCategory = CategoryName::problem(name);
    QVERIFY2(categoryProblem.isEmpty()
                 ? forCategory.isEmpty()
                 : forCategory == "A category name cannot contain a " + categoryProblem + ".",
             qPrintable(forCategory));
    const QString found = CatalogName::problem(name);
    if (problem.isEmpty()) {
        QCOMPARE(found, QString());
        QVERIFY(CatalogName::isValid(name));
    } else {
        QVERIFY2(found.contains(problem), qPrintable(found));
        QVERIFY(!CatalogName::isValid(name));
    }
    QVERIFY(CatalogName::problem(QString()).isEmpty() && !CatalogName::isValid(QString()));
}

void TstCatalogSaving::taken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::newRow("node, accented capitals") << "\u00c9T\u00c9" << true;
    QTest::newRow("pair only, other case") << "\u00fcR\u00dcN" << true;
    QTest::newRow("file only") << "STRAY" << true;
    QTest::newRow("file only, accented capitals") << "\u00c7A" << true;
    QTest::newRow("accent differs") << "ete" << false;
    QTest::newRow("accent differs from the file") << "ca" << false;
    QTest::newRow("new") << "Fresh" << false;
}

void TstCatalogSaving::taken()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    addNamesOfAllKinds();
    QCOMPARE(CatalogName::isTaken(m_state, *m_library, name), taken);
    QCOMPARE(SaveNewCatalog::isTaken(m_state, *m_library, name), taken);
}

void TstCatalogSaving::renameProblems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty is the caller's") << "" << QString("");
    QTest::newRow("unchanged") << "\u00e9t\u00e9" << CatalogName::TakenText;
    QTest::newRow("case only") << "\u00c9T\u00c9" << CatalogName::TakenText;
    QTest::newRow("stray file") << "stray" << CatalogName::TakenText;
    QTest::newRow("escape") << "../Escaped" << CatalogName::problem("../Escaped");
    QTest::newRow("free") << "Fresh" << QString("");
}

void TstCatalogSaving::renameProblems()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    addNamesOfAllKinds();
    QCOMPARE(CatalogName::renameProblem(m_state, *m_library, name), problem);
}

void TstCatalogSaving::saveAppliesTheRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    QTest::newRow("escape") << "../Escaped" << int(Outcome::Refused);
    QTest::newRow("line break") << "a\nb" << int(Outcome::Refused);
    QTest::newRow("accented case twin of a node") << "\u00c9T\u00c9" << int(Outcome::NeedsChoice);
    QTest::newRow("pair left behind") << "\u00dcR\u00dcN" << int(Outcome::NeedsChoice);
}

void TstCatalogSaving::saveAppliesTheRule()
{
    QFETCH(QString, name);
    QFETCH(int, outcome);
    addNamesOfAllKinds();
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList catalogsBefore = m_library->catalogFileNames();
    const auto r = SaveNewCatalog(m_state, *m_library, oneFile(name)).start();
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.outcome == Outcome::Refused, !r.warning.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(m_library->catalogFileNames(), catalogsBefore);
    QCOMPARE(m_state.tree.catalogCount(), 1);
}

void TstCatalogSaving::overwriteOfStrayFileFilesItInTheTree()
{
    addNamesOfAllKinds();
    SaveNewCatalog save(m_state, *m_library, oneFile(QStringLiteral("Stray")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    QCOMPARE(save.choose(Choice::Overwrite).outcome, Outcome::Overwrote);
    QVERIFY(m_state.tree.findCatalog(u"Stray").isValid());
    QCOMPARE(m_state.tree.catalogCount(), 2);

    // Without a category there is nowhere to file it: nothing is written.
    auto req = oneFile(QStringLiteral("\u00c7A"));
    req.category = -1;
    SaveNewCatalog second(m_state, *m_library, req);
    QCOMPARE(second.start().outcome, Outcome::NeedsChoice);
    const auto r = second.choose(Choice::Overwrite);
    QCOMPARE(r.outcome, Outcome::Refused);
    QVERIFY(r.warning.startsWith("Please select or create a category"));
    QCOMPARE(TestSupport::readFile(m_library->catalogFilePath(QStringLiteral("\u00e7a"))),
             QByteArray("\"a.txt\",\"1\",\"\",\"/m/\",\"note\"\r\n"));
}

QTEST_GUILESS_MAIN(TstCatalogSaving)
#include "tst_catalogsaving.moc"
