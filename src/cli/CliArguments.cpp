#include "CliArguments.h"

#include "CloseMatch.h"

#include <algorithm>

CliArguments::CliArguments(const QString &options)
{
    accept(options);
}

void CliArguments::accept(const QString &options)
{
    for (const QString &item : options.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList names = item.split(u'|');
        QString name = names.first();
        Option option;
        if (name.endsWith(QLatin1String("=*"))) {
            option.takesValue = option.repeatable = true;
            name.chop(2);
        } else if (name.endsWith(u'=')) {
            option.takesValue = true;
            name.chop(1);
        }
        m_options.insert(name, option);
        for (qsizetype i = 1; i < names.size(); ++i)
            m_shortNames.insert(names.at(i), name);
    }
}

bool CliArguments::fail(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
    return false;
}

QString CliArguments::unknownOption(const QString &name) const
{
    const QString meant = CloseMatch::find(name, m_options.keys());
    if (meant.isEmpty())
        return QStringLiteral("unknown option ") + name;
    return QStringLiteral("unknown option %1 (did you mean %2?)").arg(name, meant);
}

bool CliArguments::readOption(const QString &arg, const QStringList &args, qsizetype &i)
{
    QString name = arg;
    QString value;
    bool inlineValue = false;
    if (arg.startsWith(QLatin1String("--"))) {
        if (const qsizetype equals = arg.indexOf(u'='); equals > 0) {
            name = arg.left(equals);
            value = arg.mid(equals + 1);
            inlineValue = true;
        }
    } else {
        name = m_shortNames.value(arg, arg);
    }
    if (!m_options.contains(name))
        return fail(unknownOption(name));
    const Option option = m_options.value(name);
    if (option.takesValue && !inlineValue) {
        if (i + 1 >= args.size())
            return fail(name + QStringLiteral(" needs a value"));
        value = args.at(++i);
    } else if (!option.takesValue && inlineValue) {
        return fail(name + QStringLiteral(" takes no value"));
    }
    // A flag given again changes nothing; a second value would silently
    // replace the first.
    if (option.takesValue && !option.repeatable && m_values.contains(name))
        return fail(name + QStringLiteral(" was given twice"));
    m_values[name].append(value);
    return true;
}

bool CliArguments::read(const QStringList &args, bool untilWord)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.startsWith(u'-')) {
            readOption(arg, args, i);
        } else if (untilWord) {
            m_rest = args.mid(i);
            break;
        } else {
            m_words << arg;
        }
    }
    return m_error.isEmpty();
}

bool CliArguments::checkWords(const QString &pattern)
{
    const QStringList names = pattern.split(u' ', Qt::SkipEmptyParts);
    const auto required =
        std::count_if(names.begin(), names.end(), [](const QString &n) { return !n.startsWith(u'['); });
    if (m_words.size() < required)
        return fail(QStringLiteral("missing ") + names.at(m_words.size()));
    if (m_words.size() > names.size())
        return fail(QStringLiteral("unexpected argument '%1'").arg(m_words.at(names.size())));
    for (qsizetype i = 0; i < required; ++i) {
        if (m_words.at(i).isEmpty())
            return fail(names.at(i) + QStringLiteral(" is empty"));
    }
    return true;
}
