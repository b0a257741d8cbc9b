#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class DateFormats;

// One member of a ZIP archive as its local file header gives it.
struct ZipEntry {
    QString name; // the stored name, whole, with its "/" separators
    qint64 compressedSize = 0;
    quint32 dosStamp = 0; // DOS date (high half) and time (low half)
    // The stored clock reading, kept as Qt::UTC so that no time-zone rule
    // shifts it; invalid when dosStamp is 0 or holds no real date and time.
    QDateTime modified;
};

// Lists the members of one ZIP archive by walking its local file headers from
// the first one to the central directory. Members whose sizes follow their
// data (streamed archives) or sit in ZIP64 fields get their true compressed
// size from the archive's central directory.
//
// A damaged archive ends the listing with one of the numbered messages
// ("1196 Error reading Zip in " followed by the archive's name, ...); the
// members read before the damage are kept.
class ZipDirectoryReader
{
public:
    // Lists the archive at once, dropping the previous listing. A missing
    // file or a folder gives no members and no message; a file that cannot be
    // opened gives a message naming it.
    void setFileName(const QString &path);
    // The same for an archive whose path, as the file system spells it, is
    // native (a name that is not UTF-8); path is the text messages show.
    void setFileName(const QString &path, const QByteArray &native);
    const QString &fileName() const { return m_fileName; }

    // Number of members listed; 0 when no file name is set.
    int Count() const { return m_fileName.isEmpty() ? 0 : int(m_entries.size()); }
    const QList<ZipEntry> &entries() const { return m_entries; }

    // The failure of the last listing, message and archive name; empty when
    // it ended normally.
    const QString &errorMessage() const { return m_errorMessage; }
    bool failed() const { return !m_errorMessage.isEmpty(); }

    // Date in the high half, time in the low half, seconds in steps of two.
    static QDateTime dosDateTime(quint32 stamp);

    // The catalog line of a member: name, compressed size, date text (empty
    // for a zero or invalid stamp), the archive's path and name, empty comment.
    static QString catalogLine(const ZipEntry &entry, const QString &archivePath, const DateFormats &formats);
    // The catalog lines of all members of the last listing, in listing order.
    QStringList catalogLines(const DateFormats &formats) const;

private:
    QString m_fileName;
    QList<ZipEntry> m_entries;
    QString m_errorMessage;
};
