#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/TextFile.h"
#include "settings/SettingsFile.h"
#include "upgrade/CatalogImport.h"
#include "upgrade/UpgradeImport.h"
#include "upgrade/WineRegistry.h"

#include "TestSupport.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using Choice = CatalogImport::Choice;

namespace {

// The earlier version's registry as Wine keeps it (tests/data/upgrade):
// key paths with doubled backslashes, escaped strings, dwords, and lines the
// reader must pass over.
QString userReg()
{
    return QStringLiteral(KESTROVANE_TEST_DATA "/upgrade/user.reg");
}

QString entry(const char *name)
{
    return CommaText::join({name, "10", "01/02/1999 10:00:00", "D:\\", ""});
}

} // namespace

class TstUpgradeImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void registryText_data();
    void registryText();
    void prefixIsFoundAboveTheDirectory();
    void prefixThroughLinks_data();
    void prefixThroughLinks();
    void registryFileForms_data();
    void registryFileForms();
    void columnWidths_data();
    void columnWidths();
    void lists();
    void listCounts_data();
    void listCounts();
    void catalogsOfAllGroups();
    void duplicateChoices_data();
    void duplicateChoices();
    void overwriteKeepsTheExistingNode();
    void retypedNameTaken_data();
    void retypedNameTaken();
    void importingTwiceReusesTheCategory();
    void nothingWithoutADirectory();

private:
    QString oldDir() const { return m_dir->filePath(QStringLiteral("prefix/drive_c/Old/Kestrovane")); }
    void writeOld(const QString &group, const QString &name, const QStringList &body,
                  const QString &header = QStringLiteral("3 Files"))
    {
        QVERIFY(TestSupport::writeLines(oldDir() + "/Catalogs/" + group + '/' + name + ".TXT",
                                        QStringList{header, "2 Directories"} + body));
    }
    QStringList stored(const QString &name) const
    {
        QStringList lines;
        TextFile::readLines(m_library->catalogFilePath(name), lines);
        return lines;
    }
    CatalogImport::Result runImport(const QList<QPair<Choice, QString>> &answers,
                                    QStringList *asked = nullptr)
    {
        auto queue = answers;
        m_upgrade = std::make_unique<UpgradeImport>(UpgradeImport::forDirectory(oldDir()));
        CatalogImport import(m_state, *m_library, *m_upgrade);
        auto ask = [&](const QString &name, QString &newName) {
            if (asked)
                *asked << name;
            if (queue.isEmpty())
                return Choice::Skip;
            const auto answer = queue.takeFirst();
            newName = answer.second;
            return answer.first;
        };
        auto ignore = [](const QString &) {};
        return import.run(oldDir(), ask, ignore, ignore);
    }
    QStringList catalogsOf(const QString &category) const
    {
        QStringList names;
        const int i = m_state.tree.findCategory(category);
        if (i >= 0)
            for (const auto &c : m_state.tree.category(i).catalogs)
                names << c.name;
        return names;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    std::unique_ptr<UpgradeImport> m_upgrade;
    LibraryState m_state;
};

void TstUpgradeImport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(m_dir->path()).mkpath(QStringLiteral("lib/Catalogs"));
    QDir(m_dir->path()).mkpath(QStringLiteral("prefix/drive_c/Old/Kestrovane"));
    QVERIFY(QFile::copy(userReg(), m_dir->filePath(QStringLiteral("prefix/user.reg"))));
    m_library = std::make_unique<CatalogLibrary>(m_dir->filePath(QStringLiteral("lib")));
    m_state = LibraryState();
    m_state.tree.addCategory(QStringLiteral("Disks"));
}

void TstUpgradeImport::registryText_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("escaped quote") << "Kestrovane\\Comments.Commentslist_Items" << QString("Item0")
                                   << "Backup \"old\" disk";
    QTest::newRow("tab and backslash")
        << "Kestrovane\\Comments.Commentslist_Items" << QString("Item1") << "tab\there\\back";
    QTest::newRow("hex escape") << "Kestrovane\\Catalogs\\CdRom\\data1" << QString("Item1")
                                << QString::fromUtf8("*.éxe");
    QTest::newRow("escaped key path")
        << QString::fromUtf8("Kestrovane\\Catalogs\\Removable\\Café") << "Drive" << QString("A:");
    QTest::newRow("dword as decimal") << "Kestrovane\\Col" << QString("col2") << "60";
    QTest::newRow("dword read signed") << "Kestrovane\\Catalogs\\Fixed\\w" << QString("Count") << "-1";
    QTest::newRow("key and name without case")
        << "KESTROVANE\\CATALOGS\\CDROM" << QString("disc1") << "data1";
    QTest::newRow("missing value") << "Kestrovane\\Col" << QString("col5") << "";
    QTest::newRow("missing key") << "Kestrovane\\Nothing" << QString("col0") << "";
}

void TstUpgradeImport::registryText()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const WineRegistry registry = WineRegistry::forDirectory(oldDir());
    QCOMPARE(registry.value(key, name), expected);
}

void TstUpgradeImport::prefixIsFoundAboveTheDirectory()
{
    const QString prefix = m_dir->filePath(QStringLiteral("prefix"));
    QCOMPARE(WineRegistry::findPrefix(oldDir()), prefix);
    QCOMPARE(WineRegistry::findPrefix(prefix), prefix);
    QVERIFY(WineRegistry::findPrefix(m_dir->filePath(QStringLiteral("lib"))).isEmpty());
    QVERIFY(WineRegistry::forDirectory(m_dir->filePath(QStringLiteral("lib"))).isEmpty());
}

void TstUpgradeImport::prefixThroughLinks_data()
{
    QTest::addColumn<QString>("linkTarget"); // relative to the prefix; empty: no link
    QTest::addColumn<QString>("chosen");     // relative to the test folder
    QTest::newRow("as typed") << "" << QString("prefix/drive_c/Old/Kestrovane");
    QTest::newRow("typed through dosdevices") << "" << QString("prefix/dosdevices/c:/Old/Kestrovane");
    QTest::newRow("link to the old folder") << "drive_c/Old/Kestrovane" << QString("home/old");
    QTest::newRow("link through dosdevices") << "dosdevices/c:/Old/Kestrovane" << QString("home/old");
    QTest::newRow("link to drive_c, folder below it") << "drive_c" << QString("home/old/Old/Kestrovane");
}

// Wine's dosdevices/c: is a link to ../drive_c.
void TstUpgradeImport::prefixThroughLinks()
{
    QFETCH(QString, linkTarget);
    QFETCH(QString, chosen);
    const QString prefix = m_dir->filePath(QStringLiteral("prefix"));
    QVERIFY(QDir(prefix).mkdir(QStringLiteral("dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("home")));
    if (!linkTarget.isEmpty())
        QVERIFY(QFile::link(prefix + u'/' + linkTarget, m_dir->filePath(QStringLiteral("home/old"))));

    const QString dir = m_dir->filePath(chosen);
    QCOMPARE(QFileInfo(WineRegistry::findPrefix(dir)).canonicalFilePath(),
             QFileInfo(prefix).canonicalFilePath());
    const UpgradeImport upgrade = UpgradeImport::forDirectory(dir);
    QCOMPARE(upgrade.importComments({}).label, QStringLiteral("3 Pre-Defined Comments Imported"));
    QVERIFY(!upgrade.informationLine("CdRom", "Disc1", "1", "2").isEmpty());
}

void TstUpgradeImport::registryFileForms_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // the value of col0
    const QString head = QStringLiteral("WINE REGISTRY Version 2\r\n[Kestrovane\\\\Col] 1700000000\r\n");
    const QString text = head + QStringLiteral("\"col0\"=\"\u00C9t\u00E9 \U0001F600\"\r\n");
    for (const auto encoding :
         {QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        QTest::addRow("%s with a byte-order mark", QStringConverter::nameForEncoding(encoding))
            << QByteArray(encoder.encode(text)) << QStringLiteral("\u00C9t\u00E9 \U0001F600");
    }
    QTest::newRow("UTF-8 without a mark") << text.toUtf8() << QStringLiteral("\u00C9t\u00E9 \U0001F600");
    QTest::newRow("string cut off") << (head + "\"col0\"=\"15\r\n").toUtf8() << QString();
    QTest::newRow("escaped quote is no end") << (head + "\"col0\"=\"15\\\"\r\n").toUtf8() << QString();
    QTest::newRow("str(2) cut off") << (head + "\"col0\"=str(2):\"15\r\n").toUtf8() << QString();
    QTest::newRow("str(2) whole") << (head + "\"col0\"=str(2):\"15\"\r\n").toUtf8() << QStringLiteral("15");
}

void TstUpgradeImport::registryFileForms()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QVERIFY(TestSupport::writeFile(m_dir->filePath(QStringLiteral("prefix/user.reg")), bytes));
    const WineRegistry registry = WineRegistry::forDirectory(oldDir());
    QCOMPARE(registry.value(QStringLiteral("Kestrovane\\Col"), QStringLiteral("col0")), expected);
    QCOMPARE(registry.hasKey(QStringLiteral("Kestrovane\\Col")), true);
}

void TstUpgradeImport::columnWidths_data()
{
    QTest::addColumn<bool>("withRegistry");
    QTest::addColumn<QStringList>("expected");
    // Decimal, hexadecimal, dword, negative (read as 0), missing (100).
    QTest::newRow("registry") << true << QStringList{"120", "80", "60", "0", "100", "100"};
    QTest::newRow("no registry") << false << QStringList{"100", "100", "100", "100", "100", "100"};
}

void TstUpgradeImport::columnWidths()
{
    QFETCH(bool, withRegistry);
    QFETCH(QStringList, expected);
    SettingsFile settings(m_library->settingsPath());
    const QString dir = withRegistry ? oldDir() : m_dir->filePath(QStringLiteral("lib"));
    QString label;
    QVERIFY(UpgradeImport::forDirectory(dir).importColumnWidths(settings, label));
    QCOMPARE(label, QStringLiteral("Pre-Set Column Widths Imported"));
    QStringList widths;
    for (int i = 0; i < 6; ++i)
        widths << settings.readString(QStringLiteral("ColSizes"), QStringLiteral("Col%1").arg(i));
    QCOMPARE(widths, expected);
}

void TstUpgradeImport::lists()
{
    const UpgradeImport upgrade = UpgradeImport::forDirectory(oldDir());
    // A comment held in other letter case is not added, but still counted.
    const auto comments = upgrade.importComments({QStringLiteral("keep")});
    QCOMPARE(comments.label, QStringLiteral("3 Pre-Defined Comments Imported"));
    QCOMPARE(comments.added, (QStringList{"Backup \"old\" disk", "tab\there\\back"}));
    const auto masks = upgrade.importMasks({QStringLiteral("*.doc")});
    QCOMPARE(masks.label, QStringLiteral("2 File Mask(s) Imported"));
    QCOMPARE(masks.added, QStringList{"*.txt"});

    const UpgradeImport none = UpgradeImport::forDirectory(m_dir->filePath(QStringLiteral("lib")));
    QCOMPARE(none.importComments({}).label, QStringLiteral("No Comments To Import"));
    QCOMPARE(none.importMasks({}).label, QStringLiteral("No File Mask(s) To Import"));
}

void TstUpgradeImport::listCounts_data()
{
    QTest::addColumn<QString>("values"); // lines of the comments' key
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("added");
    QTest::newRow("count far beyond the items")
        << "\"Count\"=\"999999999\"\n\"Item0\"=\"a\"\n\"Item7\"=\"b\""
        << QString("999999999 Pre-Defined Comments Imported") << QStringList{"a", "b"};
    QTest::newRow("items past the count") << "\"Count\"=\"0x1\"\n\"Item0\"=\"a\"\n\"Item1\"=\"b\""
                                          << QString("1 Pre-Defined Comments Imported") << QStringList{"a"};
    QTest::newRow("only plain item numbers")
        << "\"Count\"=\"3\"\n\"Item01\"=\"x\"\n\"Item2\"=\"c\"" << QString("3 Pre-Defined Comments Imported")
        << QStringList{"c"};
    QTest::newRow("count zero") << "\"Count\"=\"0\"\n\"Item0\"=\"a\"" << QString("No Comments To Import")
                                << QStringList();
}

void TstUpgradeImport::listCounts()
{
    QFETCH(QString, values);
    QFETCH(QString, label);
    QFETCH(QStringList, added);
    const QString reg =
        "WINE REGISTRY Version 2\n[Kestrovane\\\\Comments.Commentslist_Items] 1\n" + values + '\n';
    QVERIFY(TestSupport::writeFile(m_dir->filePath(QStringLiteral("prefix/user.reg")), reg.toUtf8()));
    const auto result = UpgradeImport::forDirectory(oldDir()).importComments({});
    QCOMPARE(result.label, label);
    QCOMPARE(result.added, added);
}

void TstUpgradeImport::catalogsOfAllGroups()
{
    writeOld("CdRom", "Disc1", {entry("a.txt"), entry("b.txt")});
    writeOld("Fixed", "Work", {}, QStringLiteral("3"));
    // As the Windows version left it: Windows-1252 text, a group folder in
    // other letter case.
    QVERIFY(TestSupport::writeFile(oldDir() + "/Catalogs/REMOVABLE/Floppy.TXT",
                                   "3 Files\r\n2 Directories\r\n\"\x80 caf\xE9.txt\",\"10\",\"01/02/1999 "
                                   "10:00:00\",\"D:\\\",\"\"\r\n"));
    QVERIFY(TestSupport::writeFile(oldDir() + "/Catalogs/Fixed/notes.doc", "not a catalog"));

    const auto result = runImport({});
    QVERIFY(result.ran);
    QCOMPARE(result.label, QStringLiteral("Imported 3 Catalogs"));
    QCOMPARE(catalogsOf("Imported"), (QStringList{"Disc1", "Floppy", "Work"}));
    const int imported = m_state.tree.findCategory(QStringLiteral("Imported"));
    QCOMPARE(m_state.tree.category(imported).catalogs.at(0).image, int(CategoryTree::CdRomImage));
    QCOMPARE(m_state.tree.category(imported).catalogs.at(1).image, int(CategoryTree::RemovableImage));
    QCOMPARE(m_state.tree.category(imported).catalogs.at(2).image, int(CategoryTree::FixedImage));
    QCOMPARE(stored("Disc1"), (QStringList{entry("a.txt"), entry("b.txt")}));
    QCOMPARE(stored("Work"), QStringList());
    QCOMPARE(stored("Floppy"), QStringList{entry("\u20AC caf\u00E9.txt")});

    // Full counts kilobytes, Free bytes; Zip and the second entry's numbers
    // are negative and read as 0.
    QCOMPARE(CommaText::split(m_state.catalogInfo.value(QStringLiteral("Disc1"))),
             (QStringList{"3", "2", "D:", "D:\\", "1.44 MB", "2 KB", "CdRom", "01/02/1999 10:00:00", "True",
                          "True", "True", "True", "False", "False", "2", "*.*", QString::fromUtf8("*.éxe")}));
    QCOMPARE(CommaText::split(m_state.catalogInfo.value(QStringLiteral("Work"))),
             (QStringList{"3", "2", "", "", "0 Bytes", "2 MB", "", "", "True", "True", "True", "True",
                          "False", "False", "0"}));
    // No registry entry for this one: stored with an empty information line.
    QVERIFY(m_state.catalogInfo.contains(QStringLiteral("Floppy")));
    QCOMPARE(m_state.catalogInfo.value(QStringLiteral("Floppy")), QString());

    // Committed with the catalog files, not only held in memory.
    QStringList master;
    QVERIFY(TextFile::readLines(m_library->infoListPath(), master));
    QCOMPARE(master.size(), 6);
}

void TstUpgradeImport::duplicateChoices_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("storedAs");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("rename") << int(Choice::Rename) << "Disc1 old" << QStringList{"Disc1", "Disc1 old"}
                            << false;
    QTest::newRow("rename empty") << int(Choice::Rename) << "" << QStringList{"Disc1"} << false;
    QTest::newRow("skip") << int(Choice::Skip) << "Disc1 old" << QStringList{"Disc1"} << false;
    QTest::newRow("overwrite") << int(Choice::Overwrite) << "" << QStringList{"Disc1"} << true;
}

void TstUpgradeImport::duplicateChoices()
{
    QFETCH(int, choice);
    QFETCH(QString, typed);
    QFETCH(QStringList, storedAs);
    QFETCH(bool, replaced);
    const QStringList mine{entry("mine.txt")};
    QVERIFY(m_library->writeCatalog(QStringLiteral("disc1"), mine));
    writeOld("CdRom", "Disc1", {entry("old.txt")});

    QStringList asked;
    const auto result = runImport({{Choice(choice), typed}}, &asked);
    QCOMPARE(asked, QStringList{"Disc1"});
    QCOMPARE(stored("Disc1"), replaced ? QStringList{entry("old.txt")} : mine);
    QCOMPARE(result.imported, storedAs.size() - (replaced ? 0 : 1));
    if (storedAs.size() > 1)
        QCOMPARE(stored(storedAs.last()), QStringList{entry("old.txt")});
    QCOMPARE(catalogsOf("Imported"), result.imported ? QStringList{storedAs.last()} : QStringList());
}

void TstUpgradeImport::overwriteKeepsTheExistingNode()
{
    m_state.tree.addCatalog(0, QStringLiteral("Disc1"), CategoryTree::FixedImage);
    m_state.catalogInfo.append(QStringLiteral("DISC1"), QStringLiteral("\"old info\""));
    m_state.volumes.record(QStringLiteral("Disc1"), {"U1", "Disc1", "iso9660", ""});
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc1"), {entry("mine.txt")}));
    writeOld("CdRom", "Disc1", {entry("old.txt")});

    runImport({{Choice::Overwrite, QString()}});
    QCOMPARE(catalogsOf("Disks"), QStringList{"Disc1"});
    QCOMPARE(catalogsOf("Imported"), QStringList());
    QCOMPARE(m_state.catalogInfo.pairCount(), 1);
    QCOMPARE(CommaText::split(m_state.catalogInfo.valueAt(0)).value(4), QStringLiteral("1.44 MB"));
    QCOMPARE(stored("Disc1"), QStringList{entry("old.txt")});
    QVERIFY(m_state.volumes.isEmpty());
}

void TstUpgradeImport::retypedNameTaken_data()
{
    QTest::addColumn<int>("second"); // the answer after a taken name was typed
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("storedAs");
    QTest::newRow("rename again") << int(Choice::Rename) << "Disc3" << QString("Disc3");
    QTest::newRow("overwrite the old name") << int(Choice::Overwrite) << "" << QString("Disc1");
    QTest::newRow("skip") << int(Choice::Skip) << "" << QString("");
}

// The dialog names the old catalog every time, and a taken or unusable
// typed name never replaces the catalog of that name.
void TstUpgradeImport::retypedNameTaken()
{
    QFETCH(int, second);
    QFETCH(QString, typed);
    QFETCH(QString, storedAs);
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc1"), {entry("one.txt")}));
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc2"), {entry("two.txt")}));
    writeOld("CdRom", "Disc1", {entry("old.txt")});

    QStringList asked;
    runImport({{Choice::Rename, "DISC2"}, {Choice::Rename, "bad/name"}, {Choice(second), typed}}, &asked);
    QCOMPARE(asked, (QStringList{"Disc1", "Disc1", "Disc1"}));
    QCOMPARE(stored("Disc2"), QStringList{entry("two.txt")});
    QCOMPARE(stored("Disc1"), QStringList{entry(storedAs == "Disc1" ? "old.txt" : "one.txt")});
    if (storedAs == "Disc3")
        QCOMPARE(stored("Disc3"), QStringList{entry("old.txt")});
    QCOMPARE(catalogsOf("Imported"), storedAs.isEmpty() ? QStringList() : QStringList{storedAs});
}

void TstUpgradeImport::importingTwiceReusesTheCategory()
{
    m_state.tree.addCategory(QStringLiteral("IMPORTED"));
    writeOld("CdRom", "Disc1", {entry("a.txt")});
    writeOld("Fixed", "Work", {entry("b.txt")});
    runImport({});
    QStringList asked;
    const auto second = runImport({}, &asked);
    QCOMPARE(asked, (QStringList{"Disc1", "Work"}));
    QCOMPARE(second.label, QStringLiteral("Imported 0 Catalogs"));
    QCOMPARE(m_state.tree.categoryCount(), 2);
    QCOMPARE(catalogsOf("Imported"), (QStringList{"Disc1", "Work"}));
}

void TstUpgradeImport::nothingWithoutADirectory()
{
    for (const QString &dir : {QString(), m_dir->filePath(QStringLiteral("prefix/user.reg")),
                               m_dir->filePath(QStringLiteral("missing"))}) {
        m_upgrade = std::make_unique<UpgradeImport>(UpgradeImport::forDirectory(dir));
        CatalogImport import(m_state, *m_library, *m_upgrade);
        const auto result = import.run(
            dir, [](const QString &, QString &) { return Choice::Skip; },
            [](const QString &) { QFAIL("no label expected"); }, [](const QString &) {});
        QVERIFY(!result.ran);
    }
    QCOMPARE(m_state.tree.categoryCount(), 1);
}

QTEST_GUILESS_MAIN(TstUpgradeImport)
#include "tst_upgradeimport.moc"
