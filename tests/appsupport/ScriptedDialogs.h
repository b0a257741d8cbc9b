#pragma once

#include "Dialogs.h"

#include <QList>
#include <QVariant>

// Dialogs for tests: each question takes the next scripted answer; one that
// nobody scripted fails at once. Every text shown is recorded as
// "<kind>: <text>".
class ScriptedDialogs : public Dialogs
{
public:
    // Queue answers in the order the questions will come.
    void answerYes() { m_answers.append(QVariant(true)); }
    void answerNo() { m_answers.append(QVariant(false)); }
    void answerText(const QString &text) { m_answers.append(QVariant(text)); }
    void answerCancel() { m_answers.append(QVariant()); }
    void answerSameName(SameNameChoice choice, const QString &newName = QString());
    // The font dialog's OK with this font.
    void answerFont(const QFont &font) { m_answers.append(QVariant(font)); }
    // The print dialog's OK, printing to this PDF file.
    void answerPrintToPdf(const QString &path) { m_answers.append(QVariant(path)); }
    // The duplicate-catalog dialog's answer, with the Rename To text.
    void answerDuplicateImport(DuplicateImportChoice choice, const QString &newName = QString());

    const QStringList &shown() const { return m_shown; }
    QString lastShown() const { return m_shown.isEmpty() ? QString() : m_shown.last(); }
    void clearShown() { m_shown.clear(); }
    bool allAnswersUsed() const { return m_answers.isEmpty(); }
    // Set when a question came that was not scripted.
    const QString &unexpected() const { return m_unexpected; }
    // The folder the last folder or save dialog was opened in.
    const QString &lastStart() const { return m_lastStart; }
    void reset();

    void warning(const QString &text) override;
    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirmYesNo(const QString &text) override;
    bool confirmOkCancel(const QString &text) override;
    std::optional<bool> confirmYesNoCancel(const QString &text) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt,
                                    const QString &text) override;
    QString chooseFolder(const QString &caption, const QString &start) override;
    QString saveFileName(const QString &caption, const QString &start, const QString &filter,
                         const QString &selectedFilter) override;
    bool chooseFont(QFont &font) override;
    bool choosePrinter(QPrinter &printer) override;
    void catalogInformation(const QString &caption, const QStringList &lines,
                            const QString &comment) override;
    SameNameChoice sameName(const QString &name, QString &newName) override;
    DuplicateImportChoice duplicateImport(const QString &name, QString &newName) override;

private:
    QVariant next(const QString &question);

    QList<QVariant> m_answers;
    QStringList m_shown;
    QString m_unexpected;
    QString m_lastStart;
};
