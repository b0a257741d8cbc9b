#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// Finds, in the UTF-8 bytes of catalog lines, the places where a word
// search's plain run may occur, so that only the lines around them need to
// be decoded and tested. It may point at places that turn out not to match,
// never miss one that does: it looks for the longest stretch of the run
// made of ASCII characters only, folding letter case the way TextLower
// does, and also for every other character that TextLower lowers to one of
// that stretch's characters (U+212A KELVIN SIGN lowers to "k").
class WordPrefilter
{
public:
    // run: the plain run of the pattern as the matcher compares it (already
    // lowered when the search ignores case).
    WordPrefilter(const QString &run, bool caseSensitive);

    // False when the run holds no ASCII character: every line must be
    // decoded then.
    bool isUsable() const { return !m_needle.isEmpty(); }

    // Takes the piece of text that nextCandidate() searches next.
    void prepare(QByteArrayView text);
    // The position of the next possible occurrence at or after from, or -1.
    qsizetype nextCandidate(qsizetype from);

private:
    struct Probe {
        QByteArray bytes;
        bool foldCase = false;
        // The first place at or after the last search's start; -1 for none.
        qsizetype next = -1;
        bool known = false;
    };

    qsizetype find(Probe &probe, qsizetype from) const;

    QByteArray m_needle;
    bool m_foldCase = false;
    std::vector<Probe> m_probes; // the needle first, then the other characters
    QByteArrayView m_text;
};
