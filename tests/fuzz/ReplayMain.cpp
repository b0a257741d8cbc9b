// Replays every seed and every regression input of one fuzz target through
// its LLVMFuzzerTestOneInput, as an ordinary test of the regular suite.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

// Every file under folder, by path relative to it, in a stable order.
QStringList inputsUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class ReplayFuzzInputs : public QObject
{
    Q_OBJECT
private slots:
    void seedsArePresent();
    void replay_data();
    void replay();
};

void ReplayFuzzInputs::seedsArePresent()
{
    // A moved corpus folder must not turn this test into one that checks nothing.
    QVERIFY2(!inputsUnder(QStringLiteral(KESTROVANE_FUZZ_CORPUS)).isEmpty(), KESTROVANE_FUZZ_CORPUS);
}

void ReplayFuzzInputs::replay_data()
{
    QTest::addColumn<QString>("path");
    const QString folders[] = {QStringLiteral(KESTROVANE_FUZZ_CORPUS),
                               QStringLiteral(KESTROVANE_FUZZ_REGRESSIONS)};
    for (const QString &folder : folders) {
        for (const QString &file : inputsUnder(folder)) {
            // "corpus/<file>" or "regressions/<file>"
            const QString label = QFileInfo(folder).dir().dirName() + u'/' + file;
            QTest::newRow(qPrintable(label)) << QDir(folder).filePath(file);
        }
    }
}

void ReplayFuzzInputs::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray input = file.readAll();
    // An empty buffer still needs a valid pointer, as libFuzzer gives one.
    static const uint8_t none = 0;
    const auto *data = input.isEmpty() ? &none : reinterpret_cast<const uint8_t *>(input.constData());
    QCOMPARE(LLVMFuzzerTestOneInput(data, size_t(input.size())), 0);
}

QTEST_GUILESS_MAIN(ReplayFuzzInputs)
#include "ReplayMain.moc"
