// Makes the data of the large benchmarks, the same for the same arguments:
//
//   bench_generate tree DIR FILES [--folders N] [--path-bytes N] [--seed N]
//       A directory tree of FILES files spread over N leaf folders (default
//       5000) whose paths are about path-bytes long (default 200). Files are
//       sparse: they have sizes but take no disk space.
//   bench_generate library DIR ENTRIES [--catalogs N] [--path-bytes N] [--seed N]
//       A library of N catalogs (default 500) holding ENTRIES entries in all,
//       filed under one category. About one entry in 8 holds the word
//       "report", one in 1,000 the word "readme", and one in 20 is a file
//       that several volumes share (same name, size and date).
//
// Names hold blanks, commas, quotes and accented letters now and then, as
// real disks do.

#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/SortedLineList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const kWords[] = {"holiday", "invoice", "backup",      "photo",       "letter", "budget",
                              "draft",   "summary", "notes",       "music",       "track",  "scan",
                              "project", "final",   "setup",       "archive",     "family", "Straße",
                              "Ünïcödé", "café",    "comma, here", "a \"quote\"", "plan"};
const char *const kExtensions[] = {".jpg", ".txt", ".doc", ".pdf",  ".mp3", ".zip",
                                   ".png", ".xls", ".exe", ".html", ".c",   ".h"};

template <size_t N>
QString pick(const char *const (&list)[N], QRandomGenerator &rng)
{
    return QString::fromUtf8(list[rng.bounded(int(N))]);
}

[[noreturn]] void fail(const char *what, const QString &path)
{
    std::fprintf(stderr, "bench_generate: cannot %s %s: %s\n", what, qPrintable(path), std::strerror(errno));
    std::exit(1);
}

// A file name; "report" in about one in 8, "readme" in about one in 1,000.
QString fileName(qint64 i, QRandomGenerator &rng)
{
    const quint32 kind = rng.bounded(1000);
    QString stem = kind == 0    ? QStringLiteral("ReadMe")
                   : kind < 125 ? QStringLiteral("Report")
                                : pick(kWords, rng);
    return stem + u'_' + pick(kWords, rng) + u'_' + QString::number(i) + pick(kExtensions, rng);
}

// The folder names of leaf folder index, together about pathBytes long: each
// level's name is chosen by one digit of index, so folders share their upper
// levels as real trees do.
QStringList folderParts(int index, int pathBytes)
{
    const int levels = qMax(1, pathBytes / 40);
    const int partBytes = pathBytes / levels;
    QStringList parts;
    int rest = index;
    for (int level = 0; level < levels; ++level) {
        const int digit = level + 1 == levels ? rest : rest % 4;
        rest = level + 1 == levels ? 0 : rest / 4;
        QRandomGenerator rng(quint32(level * 7919 + digit));
        QString part = QStringLiteral("%1 %2").arg(level, 2, 10, QLatin1Char('0')).arg(pick(kWords, rng));
        while (part.size() < partBytes - 6)
            part += u'_' + pick(kWords, rng);
        parts << part + u'_' + QString::number(digit);
    }
    return parts;
}

int makeTree(const QString &dir, qint64 files, int folders, int pathBytes, quint32 seed)
{
    QRandomGenerator rng(seed);
    QList<QByteArray> leaves;
    for (int f = 0; f < folders; ++f) {
        const QString path = dir + u'/' + folderParts(f, pathBytes).join(u'/');
        if (!QDir().mkpath(path))
            fail("create", path);
        leaves << QFile::encodeName(path) + '/';
    }
    for (qint64 i = 0; i < files; ++i) {
        const QByteArray path = leaves.at(int(i % folders)) + fileName(i, rng).toUtf8();
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ftruncate(fd, rng.bounded(5000000)) != 0)
            fail("create", QString::fromUtf8(path));
        const timespec stamp{946684800 + rng.bounded(700000000), 0};
        const timespec times[2] = {stamp, stamp};
        futimens(fd, times);
        ::close(fd);
    }
    std::printf("%lld files in %d folders under %s\n", static_cast<long long>(files), folders,
                qPrintable(dir));
    return 0;
}

QString dateText(QRandomGenerator &rng)
{
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(1 + rng.bounded(12), 2, 10, QLatin1Char('0'))
        .arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'))
        .arg(1995 + rng.bounded(25))
        .arg(rng.bounded(24), 2, 10, QLatin1Char('0'))
        .arg(rng.bounded(60), 2, 10, QLatin1Char('0'))
        .arg(rng.bounded(60), 2, 10, QLatin1Char('0'));
}

QString entryLine(int catalog, qint64 i, const QString &path, QRandomGenerator &rng)
{
    QString name;
    QString size;
    QString date;
    if (rng.bounded(20) == 0) {
        const quint32 shared = rng.bounded(50000);
        QRandomGenerator fixed(shared);
        name = QStringLiteral("shared_%1").arg(shared) + pick(kExtensions, fixed);
        size = QString::number(fixed.bounded(5000000));
        date = dateText(fixed);
    } else {
        name = fileName(i, rng);
        size = QString::number(rng.bounded(5000000));
        date = dateText(rng);
    }
    const QString comment = rng.bounded(10) == 0 ? QStringLiteral("checked") : QString();
    return CommaText::join({name, size, date, QStringLiteral("/media/vol%1/").arg(catalog) + path, comment});
}

int makeLibrary(const QString &dir, qint64 entries, int catalogs, int pathBytes, quint32 seed)
{
    const CatalogLibrary library(dir);
    if (!QDir().mkpath(library.catalogsDir()))
        fail("create", library.catalogsDir());
    LibraryState state;
    const int category = state.tree.addCategory(QStringLiteral("Bench"));
    QRandomGenerator rng(seed);
    QStringList paths;
    for (int f = 0; f < 64; ++f)
        paths << folderParts(f, pathBytes).join(u'/') + u'/';
    for (int c = 0; c < catalogs; ++c) {
        const QString name = QStringLiteral("Volume %1").arg(c, 3, 10, QLatin1Char('0'));
        const qint64 count = entries / catalogs + (c < entries % catalogs ? 1 : 0);
        QFile file(library.catalogFilePath(name));
        if (!file.open(QIODevice::WriteOnly))
            fail("write", file.fileName());
        // Stored catalogs are sorted, as the program writes them.
        SortedLineList lines;
        for (qint64 i = 0; i < count; ++i)
            lines.add(entryLine(c, i, paths.at(int(rng.bounded(64))), rng));
        QByteArray chunk;
        for (qsizetype i = 0; i < lines.count(); ++i) {
            chunk += lines.at(i).toUtf8() + "\r\n";
            if (chunk.size() > (1 << 20) && file.write(chunk) == chunk.size())
                chunk.clear();
        }
        if (file.write(chunk) != chunk.size() || !file.flush())
            fail("write", file.fileName());
        state.tree.addCatalog(category, name, CategoryTree::FixedImage);
        state.catalogInfo.append(
            name, QStringLiteral(R"("%1","30","/","/media/","8 GB","1 GB","Fixed","01/02/2003")").arg(count));
    }
    QString error;
    if (!library.shutDown(state, &error)) {
        std::fprintf(stderr, "bench_generate: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%lld entries in %d catalogs under %s\n", static_cast<long long>(entries), catalogs,
                qPrintable(dir));
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: bench_generate tree DIR FILES [--folders N] [--path-bytes N] [--seed N]\n"
                 "       bench_generate library DIR ENTRIES [--catalogs N] [--path-bytes N] [--seed N]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return usage();
    int folders = 5000;
    int catalogs = 500;
    int pathBytes = 200;
    quint32 seed = 20261207;
    for (qsizetype i = 4; i + 1 < args.size(); i += 2) {
        const int value = args.at(i + 1).toInt();
        if (args.at(i) == QLatin1String("--folders"))
            folders = qMax(1, value);
        else if (args.at(i) == QLatin1String("--catalogs"))
            catalogs = qMax(1, value);
        else if (args.at(i) == QLatin1String("--path-bytes"))
            pathBytes = qMax(1, value);
        else if (args.at(i) == QLatin1String("--seed"))
            seed = quint32(value);
        else
            return usage();
    }
    const qint64 count = args.at(3).toLongLong();
    if (args.at(1) == QLatin1String("tree"))
        return makeTree(args.at(2), count, folders, pathBytes, seed);
    if (args.at(1) == QLatin1String("library"))
        return makeLibrary(args.at(2), count, catalogs, pathBytes, seed);
    return usage();
}
