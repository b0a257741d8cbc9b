// Times an indexing run over a generated tree of 200,000 files in 4,000
// directories beside `find | sort -f` on the same tree, and reports the
// longest time between two tests of the running flag. Then 1,000 files are
// removed and 1,000 added, and an update of the stored catalog is timed
// beside a fresh index of the changed tree.
//
//     bench_indexing [DIR]   (DIR: an existing tree to index instead)

#include "indexing/IndexingRun.h"
#include "indexing/RunControl.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int TopDirs = 40;
constexpr int SubDirs = 100;    // 40 x 100 = 4,000 directories below the root
constexpr int FilesPerDir = 50; // 200,000 files
constexpr qint64 YieldEveryNs = 15'000'000;

// Yields like the program does: events at most every 15 ms, the flag at every test.
class YieldingControl : public RunControl
{
public:
    explicit YieldingControl(LibraryState &state) : m_state(state) { m_clock.start(); }

    void status(const QString &text) override
    {
        phases.append(QStringLiteral("%1 ms  %2").arg(m_clock.elapsed(), 6).arg(text));
    }
    void progress(const QString &text) override { m_progress = text; }
    bool keepGoing() override
    {
        const qint64 now = m_clock.nsecsElapsed();
        if (m_tests > 0)
            maxGapNs = qMax(maxGapNs, now - m_lastTest);
        if (now - m_lastYield >= YieldEveryNs) {
            QCoreApplication::processEvents();
            m_lastYield = m_clock.nsecsElapsed();
        }
        m_lastTest = m_clock.nsecsElapsed();
        ++m_tests;
        return m_state.keepGoing;
    }
    qint64 lastTestNs() const { return m_lastTest; }
    qint64 tests() const { return m_tests; }

    qint64 maxGapNs = 0;
    QStringList phases;

private:
    LibraryState &m_state;
    QElapsedTimer m_clock;
    QString m_progress;
    qint64 m_lastTest = 0;
    qint64 m_lastYield = 0;
    qint64 m_tests = 0;
};

void touch(const QByteArray &path, int size)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    if (size > 0 && ::ftruncate(fd, size) != 0)
        std::perror("ftruncate");
    ::close(fd);
}

void makeTree(const QString &root)
{
    static const char *const exts[] = {".txt", ".jpg", ".mp3", ".doc", ".c", ".h", ".zipx", ""};
    int n = 0;
    for (int t = 0; t < TopDirs; ++t) {
        const QString top = root + QStringLiteral("/Top Folder %1").arg(t);
        for (int s = 0; s < SubDirs; ++s) {
            const QString dir = top + QStringLiteral("/sub_%1").arg(s, 3, 10, QLatin1Char('0'));
            QDir().mkpath(dir);
            const QByteArray native = QFile::encodeName(dir) + '/';
            for (int f = 0; f < FilesPerDir; ++f, ++n)
                touch(native + "File_" + QByteArray::number(n) + exts[n % 8], n % 4096);
        }
    }
}

qint64 timeFindSort(const QString &root)
{
    const QString command =
        QStringLiteral("find '%1' -printf '%f\\t%s\\t%T@\\t%h\\n' | sort -f > /dev/null").arg(root);
    QElapsedTimer t;
    t.start();
    QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    return t.elapsed();
}

// Removes every 200th file and adds as many new ones beside them.
void changeTree(const QString &root)
{
    int n = 0;
    for (int t = 0; t < TopDirs; ++t) {
        for (int s = 0; s < SubDirs; ++s) {
            const QString dir =
                root + QStringLiteral("/Top Folder %1/sub_%2").arg(t).arg(s, 3, 10, QLatin1Char('0'));
            for (int f = 0; f < FilesPerDir; ++f, ++n) {
                if (n % 200 != 0)
                    continue;
                const QStringList old = QDir(dir).entryList(
                    {QStringLiteral("File_%1.*").arg(n), QStringLiteral("File_%1").arg(n)}, QDir::Files);
                for (const QString &name : old)
                    QFile::remove(dir + u'/' + name);
                touch(QFile::encodeName(dir + QStringLiteral("/Added_%1.new").arg(n)), 10);
            }
        }
    }
}

void timeUpdate(const QString &root, LibraryState &state, const IndexingRun::Params &params)
{
    QTemporaryDir libraryDir;
    const CatalogLibrary library(libraryDir.path());
    QDir().mkpath(library.catalogsDir());
    library.writeCatalog(QStringLiteral("Bench"), state.fileLines.lines());
    state.catalogInfo.append(QStringLiteral("Bench"), state.lastRunInfo);
    changeTree(root);

    LibraryState fresh;
    YieldingControl indexControl(fresh);
    QElapsedTimer t;
    t.start();
    IndexingRun(fresh, indexControl).run(params);
    const qint64 indexMs = t.elapsed();
    // An update ends with the catalog written; so does a fresh index saved.
    library.writeCatalog(QStringLiteral("Fresh"), fresh.fileLines.lines());
    const qint64 indexSaveMs = t.elapsed();

    UpdateRun::Params update;
    update.catalogName = QStringLiteral("Bench");
    update.directory = root;
    update.now = params.now;
    YieldingControl updateControl(state);
    t.restart();
    const UpdateRun::Result result = UpdateRun(state, library, updateControl).run(update);
    const qint64 updateMs = t.elapsed();
    std::printf("update (+%d, -%d)          %7lld ms\n", result.added, result.removed, updateMs);
    for (const QString &phase : std::as_const(updateControl.phases))
        std::printf("  %s\n", qPrintable(phase));
    std::printf("fresh index of that tree %7lld ms, saved as a catalog %lld ms\n", indexMs, indexSaveMs);
    std::printf("ratio to the saved index %7.2f (target <= 1.30)\n",
                indexSaveMs > 0 ? double(updateMs) / double(indexSaveMs) : 0.0);
    std::printf("ratio to the index alone %7.2f\n", indexMs > 0 ? double(updateMs) / double(indexMs) : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    QString root = app.arguments().value(1);
    if (root.isEmpty()) {
        root = temp.path();
        QElapsedTimer t;
        t.start();
        makeTree(root);
        std::printf("generated tree in %lld ms\n", t.elapsed());
    }

    timeFindSort(root); // warm the caches
    const qint64 findMs = timeFindSort(root);

    LibraryState state;
    IndexingRun::Params params;
    params.directory = root;
    params.now = QDateTime::currentDateTime();
    IndexingRun::Result result;
    qint64 runMs = 0;
    qint64 tailMs = 0;
    qint64 maxGapNs = 0;
    QStringList phases;
    for (int round = 0; round < 2; ++round) { // the first round warms, the second counts
        YieldingControl control(state);
        QElapsedTimer t;
        t.start();
        result = IndexingRun(state, control).run(params);
        runMs = t.elapsed();
        tailMs = (t.nsecsElapsed() - control.lastTestNs()) / 1'000'000;
        maxGapNs = control.maxGapNs;
        phases = control.phases;
    }

    std::printf("files %lld, directories %lld, catalog lines %lld\n", result.fileCount, result.directoryCount,
                qint64(state.fileLines.count()));
    std::printf("indexing run             %7lld ms\n", runMs);
    std::printf("find | sort -f           %7lld ms\n", findMs);
    std::printf("ratio                    %7.2f (target <= 1.50)\n",
                findMs > 0 ? double(runMs) / double(findMs) : 0.0);
    std::printf("longest keepGoing gap    %7.2f ms (target < 100)\n", double(maxGapNs) / 1e6);
    std::printf("after the last test      %7lld ms (sorting the lines, building the result)\n", tailMs);
    for (const QString &phase : std::as_const(phases))
        std::printf("  %s\n", qPrintable(phase));
    if (app.arguments().value(1).isEmpty()) // never change a tree the user named
        timeUpdate(root, state, params);
    return 0;
}
