#pragma once

#include <QString>

// What the create and update panels show about the volume of a path: its
// drive designation (the mount point), type, size, free space and label.
class VolumeInfo
{
public:
    // Reads the volume that holds path. A path that does not exist, or whose
    // volume cannot be read, gives the type "Unknown" and sizes of -1.
    static VolumeInfo read(const QString &path);

    VolumeInfo() = default;
    VolumeInfo(const QString &designation, const QString &driveType, qint64 totalBytes, qint64 freeBytes,
               const QString &label = QString());

    const QString &designation() const { return m_designation; }
    const QString &driveTypeText() const { return m_driveType; }
    qint64 totalBytes() const { return m_total; }
    qint64 freeBytes() const { return m_free; }
    const QString &label() const { return m_label; }

    QString sizeText() const { return sizeText(m_total); }
    QString freeText() const { return freeText(m_free, m_total); }
    // Designation, type, ", Size " size text, ", Free " free text.
    QString title() const;

    // Bytes below 1024, else KB below 1 MB, else whole MB; a volume of
    // exactly one whole MB is a floppy and reads "1.44 MB".
    static QString sizeText(qint64 bytes);
    // As sizeText, except that one whole MB reads "1.44 MB" only when it is
    // all of the volume (an empty floppy), else "1 MB".
    static QString freeText(qint64 freeBytes, qint64 totalBytes);

private:
    QString m_designation;
    QString m_driveType = QStringLiteral("Unknown");
    qint64 m_total = -1;
    qint64 m_free = -1;
    QString m_label;
};
