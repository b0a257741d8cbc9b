#include "TestSupport.h"

#include "library/CatalogLibrary.h"
#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/SaveNewCatalog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = SaveNewCatalog::Outcome;
using Choice = SaveNewCatalog::Choice;

class TstCatalogName : public QObject
{
    Q_OBJECT

private slots:
    void init();
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
    void writeCatalog(const QString &name) const
    {
        QVERIFY(m_library->writeCatalog(name, {CommaText::join({"a.txt", "1", "", "/m/", "note"})}));
    }
    SaveNewCatalog::Request request(const QString &name) const
    {
        return {name, 0, {{"new.txt", "2", "", "/m/", ""}}, QStringLiteral("Fixed")};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    LibraryState m_state;
};

void TstCatalogName::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(m_dir->path()).mkpath(QStringLiteral("Catalogs"));
    m_library = std::make_unique<CatalogLibrary>(m_dir->path());
    m_state = LibraryState();
    m_state.tree.addCategory(QStringLiteral("Disks"));
    // été is a node, Ürün an information pair only, Stray a file only.
    m_state.tree.addCatalog(0, QStringLiteral("\u00e9t\u00e9"), CategoryTree::FixedImage);
    m_state.catalogInfo.append(QStringLiteral("\u00dcr\u00fcn"), QStringLiteral("\"info\""));
    writeCatalog(QStringLiteral("Stray"));
    writeCatalog(QStringLiteral("\u00e7a"));
}

void TstCatalogName::validity_data()
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

void TstCatalogName::validity()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QFETCH(QString, categoryProblem);
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

void TstCatalogName::taken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::newRow("node, accented capitals") << "\u00c9T\u00c9" << true;
    QTest::newRow("node, mixed") << "\u00c9t\u00e9" << true;
    QTest::newRow("pair only, other case") << "\u00fcR\u00dcN" << true;
    QTest::newRow("file only") << "STRAY" << true;
    QTest::newRow("file only, accented capitals") << "\u00c7A" << true;
    QTest::newRow("accent differs") << "ete" << false;
    QTest::newRow("accent differs from the file") << "ca" << false;
    QTest::newRow("new") << "Fresh" << false;
}

void TstCatalogName::taken()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    QCOMPARE(CatalogName::isTaken(m_state, *m_library, name), taken);
    QCOMPARE(SaveNewCatalog::isTaken(m_state, *m_library, name), taken);
}

void TstCatalogName::renameProblems_data()
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

void TstCatalogName::renameProblems()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QCOMPARE(CatalogName::renameProblem(m_state, *m_library, name), problem);
}

void TstCatalogName::saveAppliesTheRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    QTest::newRow("escape") << "../Escaped" << int(Outcome::Refused);
    QTest::newRow("line break") << "a\nb" << int(Outcome::Refused);
    QTest::newRow("accented case twin of a node") << "\u00c9T\u00c9" << int(Outcome::NeedsChoice);
    QTest::newRow("pair left behind") << "\u00dcR\u00dcN" << int(Outcome::NeedsChoice);
}

void TstCatalogName::saveAppliesTheRule()
{
    QFETCH(QString, name);
    QFETCH(int, outcome);
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList catalogsBefore = m_library->catalogFileNames();
    const auto r = SaveNewCatalog(m_state, *m_library, request(name)).start();
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.outcome == Outcome::Refused, !r.warning.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(m_library->catalogFileNames(), catalogsBefore);
    QCOMPARE(m_state.tree.catalogCount(), 1);
}

void TstCatalogName::overwriteOfStrayFileFilesItInTheTree()
{
    SaveNewCatalog save(m_state, *m_library, request(QStringLiteral("Stray")));
    QCOMPARE(save.start().outcome, Outcome::NeedsChoice);
    QCOMPARE(save.choose(Choice::Overwrite).outcome, Outcome::Overwrote);
    QVERIFY(m_state.tree.findCatalog(u"Stray").isValid());
    QCOMPARE(m_state.tree.catalogCount(), 2);

    // Without a category there is nowhere to file it: nothing is written.
    auto req = request(QStringLiteral("\u00c7A"));
    req.category = -1;
    SaveNewCatalog second(m_state, *m_library, req);
    QCOMPARE(second.start().outcome, Outcome::NeedsChoice);
    const auto r = second.choose(Choice::Overwrite);
    QCOMPARE(r.outcome, Outcome::Refused);
    QVERIFY(r.warning.startsWith("Please select or create a category"));
    QCOMPARE(TestSupport::readFile(m_library->catalogFilePath(QStringLiteral("\u00e7a"))),
             QByteArray("\"a.txt\",\"1\",\"\",\"/m/\",\"note\"\r\n"));
}

QTEST_GUILESS_MAIN(TstCatalogName)
#include "tst_catalogname.moc"
