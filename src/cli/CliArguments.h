#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The words and options of a command line, read as git, grep and fd read
// theirs: options and words in any order, "--option value" or
// "--option=value", an option's value taken whatever it holds (so
// "--word --html" looks for "--html"), and "--" before words that begin
// with a dash.
//
// The options a reader accepts are written "--word= --case --mask=* --help|-h":
// "=" takes a value, "=*" a value that may be given more than once, and
// "|-x" names a short form.
class CliArguments
{
public:
    explicit CliArguments(const QString &options = QString());

    // Accepts more options.
    void accept(const QString &options);
    // Reads args. With untilWord, reading stops at the first word: that word
    // and everything after it are left in rest() unread. False, with
    // error() naming the first problem, at an option given twice, an unknown
    // one, a missing value or a value given to an option that takes none;
    // the options after a problem are read all the same, so a --help among
    // them is seen.
    bool read(const QStringList &args, bool untilWord = false);
    // False, with error() set, when the words read do not fit the pattern
    // "NAME [TEXT]": the words in brackets may be left out or empty, the
    // others must be given and not empty.
    bool checkWords(const QString &pattern);

    const QString &error() const { return m_error; }
    const QStringList &words() const { return m_words; }
    const QStringList &rest() const { return m_rest; }
    bool has(const QString &option) const { return m_values.contains(option); }
    QString value(const QString &option) const { return m_values.value(option).value(0); }
    QStringList values(const QString &option) const { return m_values.value(option); }

private:
    struct Option {
        bool takesValue = false;
        bool repeatable = false;
    };

    bool readOption(const QString &arg, const QStringList &args, qsizetype &i);
    bool fail(const QString &error);
    QString unknownOption(const QString &name) const;

    QHash<QString, Option> m_options;
    QHash<QString, QString> m_shortNames;
    QHash<QString, QStringList> m_values;
    QStringList m_words;
    QStringList m_rest;
    QString m_error;
};
