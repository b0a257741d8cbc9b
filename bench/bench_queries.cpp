// Times the catalog search, the duplicate finder and the report on a library
// of 100 catalogs holding 2,000,000 entries (about 170 MB), each beside a
// shell pipeline on the same files as the yardstick.
//
//   bench_queries [library-dir]
//
// Without a directory the library is generated in a temporary one; a given
// directory is filled when it has no Catalogs folder yet. Figures only.

#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/CategoryTree.h"
#include "library/CommaText.h"
#include "library/PairList.h"
#include "library/SortedLineList.h"
#include "library/VolumeStore.h"
#include "queries/CatalogReport.h"
#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"
#include "queries/DuplicateFinder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kCatalogs = 100;
constexpr int kEntriesPerCatalog = 20000;

const char *const kWords[] = {"report", "holiday", "invoice", "backup", "photo",   "letter",
                              "budget", "draft",   "summary", "notes",  "music",   "track",
                              "scan",   "project", "final",   "setup",  "archive", "family"};
const char *const kExtensions[] = {".jpg", ".txt", ".doc", ".pdf",  ".mp3", ".zip",
                                   ".png", ".xls", ".exe", ".html", ".c",   ".h"};
const char *const kDirs[] = {"home",    "Documents", "Pictures", "Music",  "Projects", "2019",
                             "Archive", "old",       "src",      "Camera", "Work"};

template <size_t N>
QLatin1String pick(const char *const (&list)[N], QRandomGenerator &rng)
{
    return QLatin1String(list[rng.bounded(int(N))]);
}

// One entry; about one in 500 is a readme, and one in 20 is a file that
// several volumes share (same name, size and date).
QString makeLine(int catalog, int i, QRandomGenerator &rng)
{
    QString name;
    qint64 size;
    QString date;
    if (rng.bounded(20) == 0) {
        const int shared = rng.bounded(20000);
        name = QStringLiteral("shared_%1%2").arg(shared).arg(QLatin1String(kExtensions[shared % 12]));
        size = 1000 + shared * 7;
        date = QStringLiteral("03/%1/2001 10:%2:00")
                   .arg(1 + shared % 28, 2, 10, QLatin1Char('0'))
                   .arg(shared % 60, 2, 10, QLatin1Char('0'));
    } else {
        name = rng.bounded(500) == 0 ? QStringLiteral("ReadMe%1.txt").arg(i)
                                     : QStringLiteral("%1_%2_%3%4")
                                           .arg(pick(kWords, rng), pick(kWords, rng))
                                           .arg(i)
                                           .arg(pick(kExtensions, rng));
        size = rng.bounded(5000000);
        date = QStringLiteral("%1/%2/%3 %4:%5:%6")
                   .arg(1 + rng.bounded(12), 2, 10, QLatin1Char('0'))
                   .arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'))
                   .arg(1995 + rng.bounded(25))
                   .arg(rng.bounded(24), 2, 10, QLatin1Char('0'))
                   .arg(rng.bounded(60), 2, 10, QLatin1Char('0'))
                   .arg(2 * rng.bounded(30), 2, 10, QLatin1Char('0'));
    }
    const QString path =
        QStringLiteral("/media/vol%1/%2/%3/").arg(catalog).arg(pick(kDirs, rng), pick(kDirs, rng));
    const QString comment = rng.bounded(10) == 0 ? QStringLiteral("checked") : QString();
    return CommaText::join({name, QString::number(size), date, path, comment});
}

void generate(const CatalogLibrary &library)
{
    QDir().mkpath(library.catalogsDir());
    QRandomGenerator rng(20260101);
    for (int c = 0; c < kCatalogs; ++c) {
        QByteArray bytes;
        bytes.reserve(kEntriesPerCatalog * 90);
        for (int i = 0; i < kEntriesPerCatalog; ++i)
            bytes += makeLine(c, i, rng).toUtf8() + "\r\n";
        QFile file(library.catalogFilePath(QStringLiteral("Volume %1").arg(c, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// Runs a shell pipeline in the library and returns its time; its output
// goes to out.
double shell(const QString &root, const QString &command, QString &out)
{
    QProcess p;
    p.setWorkingDirectory(root);
    return seconds([&] {
        p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
        p.waitForFinished(-1);
        out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    });
}

void report(const char *what, double ours, qsizetype count, double reference, const QString &refCount,
            double target)
{
    std::printf("%-28s %7.3f s (%lld)   reference %7.3f s (%s)   ratio %.2f, target <= %.1fx\n", what, ours,
                static_cast<long long>(count), reference, qPrintable(refCount), ours / reference, target);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const CatalogLibrary library(root);
    if (!QDir(library.catalogsDir()).exists()) {
        const double t = seconds([&] { generate(library); });
        std::printf("generated %d catalogs of %d entries in %.1f s\n", kCatalogs, kEntriesPerCatalog, t);
    }

    CategoryTree tree;
    tree.addCategory(QStringLiteral("Bench"));
    PairList info;
    for (const QString &name : library.catalogFileNames()) {
        tree.addCatalog(0, name, CategoryTree::FixedImage);
        info.append(name, QStringLiteral(R"("20000","30","/","/media/","8 GB","1 GB","Fixed","01/02/2003")"));
    }
    CheckTree check(tree);
    check.setAllChecked(true);
    RunControl control;
    SortedLineList results;
    const CatalogSearch search(library, DateFormats(), 2026);
    const QString all = QStringLiteral("cat Catalogs/*.TXT");
    QString refOut;

    // Warm the page cache so both sides read from memory.
    shell(root, all + QStringLiteral(" > /dev/null"), refOut);

    // Few hits against counting them; many hits against listing them sorted.
    // The references fold case as Unicode text, as the search does.
    CatalogSearch::Request word;
    word.word = QStringLiteral("*readme*");
    double t = seconds([&] { search.run(word, check, control, results); });
    double r = shell(root, QStringLiteral("cat Catalogs/*.TXT | LC_ALL=C.UTF-8 grep -ci readme"), refOut);
    report("word search *readme*", t, results.count(), r, refOut, 1.5);

    word.word = QStringLiteral("*report*");
    t = seconds([&] { search.run(word, check, control, results); });
    r = shell(
        root,
        QStringLiteral("cat Catalogs/*.TXT | LC_ALL=C.UTF-8 grep -i report | LC_ALL=C.UTF-8 sort -f | wc -l"),
        refOut);
    report("word search *report*", t, results.count(), r, refOut, 1.2);

    CatalogSearch::Request ext;
    ext.mode = CatalogSearch::Mode::Extension;
    ext.extension = QStringLiteral("*.jpg");
    t = seconds([&] { search.run(ext, check, control, results); });
    r = shell(root, all + QStringLiteral(" | grep -ci '\\.jpg'"), refOut);
    report("extension search *.jpg", t, results.count(), r, refOut, 3);

    const DuplicateFinder finder(library);
    t = seconds([&] { finder.run(check, DuplicateFinder::Criteria(), control, results); });
    r = shell(root, all + QStringLiteral(" | sort -f | uniq -i -D -w 30 | wc -l"), refOut);
    report("duplicates name+size+date", t, results.count(), r, refOut, 1);

    PairList comments;
    QStringList volumeLines;
    for (int i = 0; i < 10000; ++i) {
        const QString name = QStringLiteral("Extra %1").arg(i);
        info.append(name, QString());
        // Every catalog's medium is known, as in a library made by this version.
        volumeLines << CommaText::join(
            {name, QStringLiteral("uuid-%1").arg(i), name, QStringLiteral("ext4"), {}});
    }
    comments.append(QStringLiteral("Extra 5"), QStringLiteral("a comment"));
    const VolumeStore volumes(volumeLines);
    std::vector<QStringList> rows;
    t = seconds([&] { rows = CatalogReport::rows(info, comments, volumes); });
    std::printf("%-28s %7.3f s (%zu rows)\n", "report", t, rows.size());
    return 0;
}
