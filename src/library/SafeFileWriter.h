#pragma once

#include <QByteArrayView>
#include <QString>

// Writes a file so that a failure at any point leaves the old one whole:
// the bytes go to a new temporary file of the program's own naming in the
// same folder, every write is checked, the file is synced and only then
// renamed over the old one. The new file takes the permission bits of a
// model file (and its owner when the program runs as root).
class SafeFileWriter
{
public:
    // Writes exactly path (a symbolic link there is replaced, not followed);
    // the mode and owner come from modelPath when it exists.
    SafeFileWriter(const QString &path, const QString &modelPath);
    // Removes the temporary file unless commit() succeeded.
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    bool commit();
    // The platform's reason for the first failure.
    const QString &errorString() const { return m_error; }

    // The file a write of path replaces: path itself, or the file its chain
    // of symbolic links ends at (a rewrite keeps the links).
    static QString finalTarget(const QString &path);
    // A name no user file carries: ".kvtmp-", twelve hex digits, "-", the
    // target's name (when the whole fits a file name) and ".kvtmp".
    static QString temporaryName(const QString &targetName);
    static bool isTemporaryName(const QString &fileName);

private:
    bool failWith(int error);
    bool takeModelAttributes();

    QString m_path;
    QString m_modelPath;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    QString m_error;
};
