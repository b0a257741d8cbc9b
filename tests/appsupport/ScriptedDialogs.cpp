#include "ScriptedDialogs.h"

#include <QFont>
#include <QPrinter>
#include <QTest>

namespace {

struct SameNameAnswer {
    int choice;
    QString name;
};

struct DuplicateImportAnswer {
    int choice;
    QString name;
};

} // namespace
Q_DECLARE_METATYPE(SameNameAnswer)
Q_DECLARE_METATYPE(DuplicateImportAnswer)

void ScriptedDialogs::answerSameName(SameNameChoice choice, const QString &newName)
{
    m_answers.append(QVariant::fromValue(SameNameAnswer{int(choice), newName}));
}

void ScriptedDialogs::answerDuplicateImport(DuplicateImportChoice choice, const QString &newName)
{
    m_answers.append(QVariant::fromValue(DuplicateImportAnswer{int(choice), newName}));
}

void ScriptedDialogs::reset()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected.clear();
}

QVariant ScriptedDialogs::next(const QString &question)
{
    m_shown.append(question);
    if (m_answers.isEmpty()) {
        if (m_unexpected.isEmpty())
            m_unexpected = question;
        QTest::qFail(qPrintable(QStringLiteral("Unscripted dialog: ") + question), __FILE__, __LINE__);
        return QVariant();
    }
    return m_answers.takeFirst();
}

void ScriptedDialogs::warning(const QString &text)
{
    m_shown.append(QStringLiteral("warning: ") + text);
}

void ScriptedDialogs::information(const QString &text)
{
    m_shown.append(QStringLiteral("information: ") + text);
}

void ScriptedDialogs::error(const QString &text)
{
    m_shown.append(QStringLiteral("error: ") + text);
}

bool ScriptedDialogs::confirmYesNo(const QString &text)
{
    return next(QStringLiteral("confirm: ") + text).toBool();
}

bool ScriptedDialogs::confirmOkCancel(const QString &text)
{
    return next(QStringLiteral("confirm: ") + text).toBool();
}

// answerYes, answerNo or answerCancel.
std::optional<bool> ScriptedDialogs::confirmYesNoCancel(const QString &text)
{
    const QVariant answer = next(QStringLiteral("confirm: ") + text);
    if (!answer.isValid())
        return std::nullopt;
    return answer.toBool();
}

std::optional<QString> ScriptedDialogs::inputBox(const QString &caption, const QString &prompt,
                                                 const QString &)
{
    const QVariant answer = next(QStringLiteral("input: ") + caption + QStringLiteral(" | ") + prompt);
    if (!answer.isValid())
        return std::nullopt;
    return answer.toString();
}

QString ScriptedDialogs::chooseFolder(const QString &caption, const QString &start)
{
    m_lastStart = start;
    return next(QStringLiteral("folder: ") + caption).toString();
}

QString ScriptedDialogs::saveFileName(const QString &caption, const QString &start, const QString &filter,
                                      const QString &selectedFilter)
{
    m_lastStart = start;
    return next(QStringLiteral("save: ") + caption + QStringLiteral(" | ") + filter + QStringLiteral(" | ") +
                selectedFilter)
        .toString();
}

bool ScriptedDialogs::chooseFont(QFont &font)
{
    const QVariant answer = next(QStringLiteral("font"));
    if (answer.typeId() == QMetaType::QFont) {
        font = answer.value<QFont>();
        return true;
    }
    return answer.toBool();
}

bool ScriptedDialogs::choosePrinter(QPrinter &printer)
{
    const QVariant answer = next(QStringLiteral("print"));
    if (answer.typeId() == QMetaType::QString) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer.toString());
        return true;
    }
    return answer.toBool();
}

void ScriptedDialogs::catalogInformation(const QString &caption, const QStringList &lines,
                                         const QString &comment)
{
    m_shown.append(QStringLiteral("catalog information: ") + caption + u'\n' + lines.join(u'\n') +
                   QStringLiteral("\nComment: ") + comment);
}

Dialogs::SameNameChoice ScriptedDialogs::sameName(const QString &name, QString &newName)
{
    const QVariant answer = next(QStringLiteral("same name: ") + name);
    if (!answer.canConvert<SameNameAnswer>())
        return SameNameChoice::Cancel;
    const auto a = answer.value<SameNameAnswer>();
    newName = a.name;
    return SameNameChoice(a.choice);
}

Dialogs::DuplicateImportChoice ScriptedDialogs::duplicateImport(const QString &name, QString &newName)
{
    const QVariant answer = next(QStringLiteral("duplicate import: ") + name);
    if (answer.canConvert<DuplicateImportAnswer>()) {
        const auto a = answer.value<DuplicateImportAnswer>();
        newName = a.name;
        return DuplicateImportChoice(a.choice);
    }
    newName = answer.toString();
    return answer.isValid() ? DuplicateImportChoice::Rename : DuplicateImportChoice::Skip;
}
