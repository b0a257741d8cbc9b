#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <optional>

// Runs the built kestrovane-cli and reads its rows back as a script would.
namespace CliProcess {

struct Result {
    int code = -1;
    QByteArray out;
    QString err;
    QString text() const { return QString::fromUtf8(out); }
};

// prefix: a command that runs the tool (such as setpriv and its options).
inline Result run(const QString &library, const QStringList &args, const QStringList &prefix = {})
{
    QProcess p;
    const QStringList command =
        prefix + QStringList{QStringLiteral(KESTROVANE_CLI), QStringLiteral("--library"), library} + args;
    p.start(command.first(), command.mid(1));
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

// The same run with standard output decoded, for tests that read text.
struct TextResult {
    int code = -1;
    QString out;
    QString err;
};

inline TextResult runText(const QString &library, const QStringList &args)
{
    const Result r = run(library, args);
    return {r.code, r.text(), r.err};
}

// The same run with standard output and error each on a pseudo-terminal of
// its own; an empty result when there is none (terminals turn LF into
// CR LF).
inline std::optional<TextResult> runOnTerminals(const QString &library, const QStringList &args)
{
    QProcess python;
    const QString script = QStringLiteral(KESTROVANE_TEST_DATA "/cli/on_terminal.py");
    python.start(QStringLiteral("python3"),
                 QStringList{script, QStringLiteral("--both"), QStringLiteral(KESTROVANE_CLI),
                             QStringLiteral("--library"), library} +
                     args);
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return std::nullopt;
    const QJsonObject run = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    return TextResult{run.value(QStringLiteral("code")).toInt(), run.value(QStringLiteral("out")).toString(),
                      run.value(QStringLiteral("err")).toString()};
}

// The commands the tool's --help lists.
inline QStringList commandNames()
{
    QProcess p;
    p.start(QStringLiteral(KESTROVANE_CLI), {QStringLiteral("--help")});
    p.waitForFinished(30000);
    QStringList names;
    const QRegularExpression command(QStringLiteral("^  ([a-z-]+)"));
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &line : help.section(QStringLiteral("\nCommands:\n"), 1).split(u'\n')) {
        if (const QRegularExpressionMatch m = command.match(line); m.hasMatch())
            names << m.captured(1);
    }
    return names;
}

struct Rows {
    bool ok = false;
    QString problem;
    QStringList header;
    QList<QStringList> rows;
};

// Numbers as their digits, null as an empty text.
inline QStringList strings(const QJsonArray &array)
{
    QStringList list;
    for (const QJsonValue &v : array)
        list << (v.isDouble() ? QString::number(v.toInteger()) : v.toString());
    return list;
}

// The rows of output in format (tsv, csv or json), read by Python's csv and
// json modules.
inline Rows readRows(const QString &format, const QByteArray &output)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(KESTROVANE_TEST_DATA "/cli/read_rows.py"), format});
    python.write(output);
    python.closeWriteChannel();
    Rows rows;
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        rows.problem = QString::fromUtf8(python.readAllStandardError()) + python.errorString();
        return rows;
    }
    const QJsonObject read = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    rows.header = strings(read.value(QStringLiteral("header")).toArray());
    for (const QJsonValue &row : read.value(QStringLiteral("rows")).toArray())
        rows.rows << strings(row.toArray());
    rows.ok = true;
    return rows;
}

} // namespace CliProcess
