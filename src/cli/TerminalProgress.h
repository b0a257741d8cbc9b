#pragma once

#include "indexing/RunControl.h"

#include <QElapsedTimer>
#include <QTextStream>

// Progress of a scan on the terminal behind the error stream: the folders
// found and the files listed so far and the item being read, on one line
// that fits the terminal's width, rewritten at most ten times a second and
// cleared at the end. Nothing is drawn when the error stream is not a
// terminal, when TERM is dumb (no cursor control) or when asked to be quiet,
// so scripts and logs get only the outcome.
class TerminalProgress : public RunControl
{
public:
    TerminalProgress(QTextStream &err, bool quiet);
    ~TerminalProgress() override;

    void status(const QString &text) override;
    void progress(const QString &text) override;
    // Clears the line, so what follows starts on a clean one.
    void finish();

    // The counts, two blanks and the text in at most width columns; a long
    // text loses its middle to "…", where a path's least telling part is.
    static QString fitted(const QString &counts, const QString &text, int width);
    // The terminal's own width, else COLUMNS, else 80.
    static int terminalWidth();

private:
    bool tooSoon() const;
    void show();
    QString counts() const;

    QTextStream &m_err;
    bool m_draws;
    bool m_shown = false;
    // The scan finds every folder first, then lists their files: each
    // progress of the first phase is a folder, of the later ones a file.
    int m_phase = 0;
    qint64 m_folders = 0;
    qint64 m_files = 0;
    QString m_status;
    QString m_item;
    QElapsedTimer m_sinceShown;
};
