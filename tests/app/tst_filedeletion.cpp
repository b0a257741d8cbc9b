#include "AppFixture.h"
#include "TableToolsController.h"
#include "TestSupport.h"

#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <sys/mount.h>

namespace {

QString entry(const QString &name, const QString &path)
{
    return CommaText::join({name, "10", "06/14/1998 10:00:00", path, QString()});
}

QModelIndex cellOf(MainWindow &w, const QString &name, int column)
{
    VisualTableModel *m = w.tableModel();
    for (int r = 1; r < m->tableRowCount(); ++r) {
        if (m->cell(0, r) == name)
            return m->index(r - 1, column);
    }
    return QModelIndex();
}

bool rowShown(MainWindow &w, const QString &name)
{
    return cellOf(w, name, 0).isValid();
}

} // namespace

// Files go to a trash of the test's own: the data folder named by
// XDG_DATA_HOME, which does not exist before a deletion, and a home on the
// same volume as the files, so Qt uses that trash and no other.
class TestFileDeletion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void checksInOrder_data();
    void checksInOrder();
    void resultRowsLeaveTheCatalogAlone();
    void failedMoveKeepsTheRow();

private:
    // A library whose catalog Disc lists name in folder (relative to media,
    // ending in "/"), with a real media/a.txt and media/sub/ beside it.
    MainWindow &startWithEntry(AppFixture &app, const QString &name, const QString &folder);
    QString trashed(const QString &name) const { return m_data + "/Trash/files/" + name; }

    QTemporaryDir m_env;
    QString m_data;
    QStringList m_askedFolders;
};

void TestFileDeletion::initTestCase()
{
    m_data = m_env.filePath("data");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
    QDir().mkpath(m_env.filePath("home"));
    qputenv("HOME", QFile::encodeName(m_env.filePath("home")));
    // Without its data folder Qt 6.4 makes a trash in the working folder.
    QDir::setCurrent(m_env.path());
}

void TestFileDeletion::init()
{
    QDir(m_data).removeRecursively();
    m_askedFolders.clear();
}

MainWindow &TestFileDeletion::startWithEntry(AppFixture &app, const QString &name, const QString &folder)
{
    const QString media = app.path("media") + "/";
    TestSupport::writeFile(media + "a.txt", "bytes");
    QDir().mkpath(media + "sub");
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    app.writeLines("Catalogs/Master", {"Disc", ""});
    app.writeLines("Catalogs/Disc.TXT", {entry(name, media + folder), entry("other.txt", media)});
    return app.start();
}

void TestFileDeletion::checksInOrder_data()
{
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("column");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("shown"); // %F stands for the full name
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("deleted");
    const QString proceed = "confirm: Proceed to delete?\n%F";
    const QString insert = "confirm: Insert disk into drive.\nWhen ready click Ok.";
    const QString longFolder = QString("d/").repeated(2100);
    QTest::newRow("yes") << "Fixed"
                         << "a.txt"
                         << "" << 0 << QList<bool>{true} << QStringList{proceed} << "Deleted %F" << true;
    QTest::newRow("no") << "Fixed"
                        << "a.txt"
                        << "" << 2 << QList<bool>{false} << QStringList{proceed} << "" << false;
    QTest::newRow("removable, disk inserted")
        << "Removable"
        << "a.txt"
        << "" << 0 << QList<bool>{true, true} << QStringList{insert, proceed} << "Deleted %F" << true;
    QTest::newRow("removable, cancelled")
        << "Removable"
        << "a.txt"
        << "" << 0 << QList<bool>{false} << QStringList{insert} << "" << false;
    QTest::newRow("cd-rom") << "CdRom"
                            << "a.txt"
                            << "" << 0 << QList<bool>{} << QStringList{}
                            << "Not Deleted: The File Is On A CdRom Drive" << false;
    QTest::newRow("unknown drive") << "Unknown"
                                   << "a.txt"
                                   << "" << 0 << QList<bool>{} << QStringList{}
                                   << "Not Deleted: The File's Drive Is Unknown" << false;
    QTest::newRow("zip member") << "Fixed"
                                << "a.txt"
                                << "pack.zip/" << 0 << QList<bool>{}
                                << QStringList{"warning: The option to delete contents of ZIP files is not "
                                               "available in this version."}
                                << "" << false;
    QTest::newRow("missing file") << "Fixed"
                                  << "gone.txt"
                                  << "" << 0 << QList<bool>{true} << QStringList{proceed}
                                  << "File Does Not Exists!" << false;
    QTest::newRow("empty cell") << "Fixed"
                                << "a.txt"
                                << "" << 4 << QList<bool>{} << QStringList{} << "" << false;
    // A folder's own entry has no name: its path cell must not delete the folder.
    QTest::newRow("row without a name") << "Fixed"
                                        << ""
                                        << "sub/" << 3 << QList<bool>{} << QStringList{} << "" << false;
    QTest::newRow("name of a folder") << "Fixed"
                                      << "sub"
                                      << "" << 0 << QList<bool>{true} << QStringList{proceed}
                                      << "Not Deleted: The Name Is A Folder" << false;
    QTest::newRow("name too long") << "Fixed"
                                   << "a.txt" << longFolder << 0 << QList<bool>{} << QStringList{}
                                   << "Not Deleted: The Full Name Is Longer Than 4096 Bytes" << false;
}

void TestFileDeletion::checksInOrder()
{
    QFETCH(QString, drive);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(int, column);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, shown);
    QFETCH(QString, status);
    QFETCH(bool, deleted);
    AppFixture app;
    MainWindow &w = startWithEntry(app, name, folder);
    w.feature<TableToolsController>()->setVolumeReader([&](const QString &path) {
        m_askedFolders << path;
        return VolumeInfo("/", drive, 1 << 30, 1 << 20);
    });
    QVERIFY(app.openCatalog("Disc"));
    const QString fullName = app.path("media") + "/" + folder + name;
    const QString onDisk = app.path("media") + "/" + name;
    const bool existed = QFileInfo::exists(onDisk);
    const QString statusBefore = w.statusText();
    w.tableView()->setCurrentIndex(cellOf(w, name, column));
    for (bool yes : answers)
        yes ? app.dialogs().answerYes() : app.dialogs().answerNo();

    QVERIFY(app.trigger("DeleteSelectedFile1"));
    QCOMPARE(app.dialogs().shown(), shown.replaceInStrings("%F", fullName));
    QVERIFY(app.dialogs().allAnswersUsed());
    QCOMPARE(w.statusText(), status.isEmpty() ? statusBefore : QString(status).replace("%F", fullName));
    QCOMPARE(rowShown(w, name), !deleted);
    QCOMPARE(w.state().pendingRowDeletions, deleted);
    QCOMPARE(QFileInfo::exists(trashed(name)), deleted);
    QCOMPARE(QFileInfo::exists(onDisk), existed && !deleted);
    QVERIFY(QFileInfo(app.path("media/sub")).isDir());
    // The drive is that of a folder that exists, even when the listed one is gone.
    for (const QString &asked : std::as_const(m_askedFolders))
        QVERIFY2(QFileInfo(asked).isDir(), qPrintable(asked));
    // No stray trash in the working folder or beside the file.
    QVERIFY(!QFileInfo::exists(m_env.filePath("files")));
    QCOMPARE(QDir(app.path("media")).entryList(QDir::Hidden | QDir::Dirs).filter("Trash"), QStringList());
    if (deleted)
        app.dialogs().answerNo(); // the close query offers to save the removed row
}

// A search result names a file but is no row of the open catalog: deleting
// it must not leave the catalog marked for saving without that row.
void TestFileDeletion::resultRowsLeaveTheCatalogAlone()
{
    AppFixture app;
    MainWindow &w = startWithEntry(app, "a.txt", "");
    w.feature<TableToolsController>()->setVolumeReader(
        [](const QString &) { return VolumeInfo("/", "Fixed", 1 << 30, 1 << 20); });
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.trigger("Search1"));
    auto *ticks = w.findChild<QTreeWidget *>("TreeView2");
    ticks->topLevelItem(0)->setCheckState(0, Qt::Checked);
    w.findChild<QComboBox *>("Searchword")->setCurrentText("a.txt");
    w.findChild<QPushButton *>("Searchbtn")->click();
    QCOMPARE(w.tableModel()->columnCount(), 6);
    w.tableView()->setCurrentIndex(cellOf(w, "a.txt", 5));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedFile1"));
    QVERIFY(!rowShown(w, "a.txt"));
    QVERIFY(QFileInfo::exists(trashed("a.txt")));
    QVERIFY(!w.state().pendingRowDeletions);

    // The report lists catalogs, not files.
    QVERIFY(app.trigger("Report1"));
    w.tableView()->setCurrentIndex(w.tableModel()->index(0, 0));
    QVERIFY(app.trigger("DeleteSelectedFile1"));
    QCOMPARE(app.dialogs().shown().size(), 1);
}

void TestFileDeletion::failedMoveKeepsTheRow()
{
    AppFixture app;
    const QString mountPoint = app.path("media");
    QDir().mkpath(mountPoint);
    QString reason;
    if (!TestSupport::mountTmpfs(mountPoint, 1024, &reason))
        QSKIP(qPrintable("no tmpfs here: " + reason));
    MainWindow &w = startWithEntry(app, "a.txt", "");
    const bool readOnly = ::mount(nullptr, QFile::encodeName(mountPoint).constData(), nullptr,
                                  MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    if (!readOnly) {
        TestSupport::unmount(mountPoint);
        QSKIP("cannot make the tmpfs read-only here");
    }
    w.feature<TableToolsController>()->setVolumeReader(
        [](const QString &) { return VolumeInfo("/", "RamDisk", 1 << 20, 0); });
    QVERIFY(app.openCatalog("Disc"));
    w.tableView()->setCurrentIndex(cellOf(w, "a.txt", 0));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedFile1"));
    const bool stays = QFileInfo::exists(mountPoint + "/a.txt");
    TestSupport::unmount(mountPoint);
    QCOMPARE(w.statusText(), QString("Failed To Delete"));
    QVERIFY(stays);
    QVERIFY(rowShown(w, "a.txt"));
    QVERIFY(!w.state().pendingRowDeletions);
}

QTEST_MAIN(TestFileDeletion)
#include "tst_filedeletion.moc"
