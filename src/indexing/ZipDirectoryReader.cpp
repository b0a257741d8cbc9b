#include "indexing/ZipDirectoryReader.h"

#include "indexing/ZipBytes.h"
#include "indexing/ZipCentralDirectory.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "library/TextFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ZipBytes;

namespace {

constexpr int MaxSearchCandidates = 60000;
constexpr qint64 EndRecordSize = 22;
constexpr qint64 LocalHeaderSize = 26; // after the signature
constexpr qint64 MinDescriptorSize = 12;
constexpr qint64 MaxDescriptorSize = 24;

const char *const NoEntries = "No valid zip entries found in ";
const char *const ReadError = "Error reading Zip in ";
const char *const FileReadError = "Error reading Zip file in ";

// One walk over the local headers of an open archive.
class LocalHeaderWalk
{
public:
    LocalHeaderWalk(QFile &file, QList<ZipEntry> &entries)
        : m_file(file), m_entries(entries), m_size(file.size()), m_central(ZipCentralDirectory::read(file))
    {}

    // Lists the members; the failure's message, or empty on a normal end.
    QString run();

private:
    enum class Step { Next, Search, Done };

    QString searchFirstHeader();
    Step readMember(QString &failure);
    qint64 compressedSize(qint64 headerAt, const char *header, quint16 extraLength);
    void skipDescriptor(qint64 dataEnd);

    QFile &m_file;
    QList<ZipEntry> &m_entries;
    const qint64 m_size;
    const ZipCentralDirectory m_central;
    int m_candidates = 0;
    bool m_usesDescriptor = false;
};

QString numbered(int number, const char *text)
{
    return QString::number(number) + u' ' + QLatin1String(text);
}

QString LocalHeaderWalk::run()
{
    if (!m_file.seek(0))
        return numbered(1139, NoEntries);
    bool searching = true;
    for (;;) {
        if (searching) {
            const QString failure = searchFirstHeader();
            if (!failure.isEmpty())
                return failure;
        } else {
            char signature[4];
            if (m_file.read(signature, 4) != 4)
                return numbered(1196, ReadError);
            const quint32 value = le32(signature);
            if (value == CentralHeaderSignature || value == EndOfCentralSignature)
                return {};
            if (value != LocalHeaderSignature)
                continue; // not a header: try the next four bytes
        }
        QString failure;
        const Step step = readMember(failure);
        if (!failure.isEmpty())
            return failure;
        searching = step == Step::Search;
    }
}

// Byte search for "PK\3\4". A byte that breaks the sequence is not looked at
// again as the start of one.
QString LocalHeaderWalk::searchFirstHeader()
{
    static const char sequence[] = {'P', 'K', 3, 4};
    static const int endMessages[] = {1139, 1159, 1170, 1180};
    for (;;) {
        int matched = 0;
        while (matched < 4) {
            char c;
            if (!m_file.getChar(&c))
                return numbered(endMessages[matched], NoEntries);
            if (matched == 0 && ++m_candidates > MaxSearchCandidates)
                return numbered(1149, NoEntries);
            if (c != sequence[matched])
                break;
            ++matched;
        }
        if (matched == 4)
            return {};
    }
}

LocalHeaderWalk::Step LocalHeaderWalk::readMember(QString &failure)
{
    const bool first = m_entries.isEmpty();
    const qint64 headerAt = m_file.pos() - 4;
    char header[LocalHeaderSize];
    if (m_file.read(header, LocalHeaderSize) != LocalHeaderSize) {
        if (!first)
            failure = numbered(1229, FileReadError);
        return Step::Search;
    }
    const quint16 nameLength = le16(header + 22);
    const quint16 extraLength = le16(header + 24);
    const QByteArray name = m_file.read(nameLength);
    if (name.size() != nameLength) {
        if (!first)
            failure = numbered(1229, FileReadError);
        return Step::Search;
    }

    const qint64 size = compressedSize(headerAt, header, extraLength);
    const qint64 extraAt = m_file.pos();
    if (size < 0 || extraAt + extraLength + size > m_size - EndRecordSize) {
        if (!first)
            failure = numbered(1249, FileReadError);
        return Step::Search;
    }
    if (!m_file.seek(extraAt + extraLength) || m_file.pos() != extraAt + extraLength) {
        failure = numbered(1263, FileReadError);
        return Step::Done;
    }
    const qint64 dataEnd = extraAt + extraLength + size;
    if (!m_file.seek(dataEnd) || m_file.pos() != dataEnd) {
        failure = numbered(1273, FileReadError);
        return Step::Done;
    }

    ZipEntry entry;
    entry.name = TextFile::decode(name); // a zero byte ends the name
    entry.compressedSize = size;
    entry.dosStamp = (quint32(le16(header + 8)) << 16) | le16(header + 6);
    entry.modified = ZipDirectoryReader::dosDateTime(entry.dosStamp);
    m_entries.append(entry);
    if (m_usesDescriptor)
        skipDescriptor(dataEnd);
    return Step::Next;
}

// The compressed size from the local header, or from the central directory
// or the ZIP64 field when the header leaves it open. -1 when unusable.
qint64 LocalHeaderWalk::compressedSize(qint64 headerAt, const char *header, quint16 extraLength)
{
    quint64 size = le32(header + 14);
    m_usesDescriptor = (le16(header + 2) & DataDescriptorFlag) != 0;
    if (!m_usesDescriptor && size != Zip64Marker)
        return qint64(size);
    const qint64 listed = m_central.compressedSizeAt(headerAt);
    if (listed >= 0)
        return listed;
    if (size == Zip64Marker) {
        // The local ZIP64 field holds the uncompressed, then the compressed size.
        const QByteArray extra = m_file.peek(extraLength);
        if (!zip64Value(extra, 1, size))
            return qint64(Zip64Marker);
    }
    return size > quint64(m_size) ? -1 : qint64(size);
}

// A data descriptor follows the data; when the central directory says where
// the next record starts, go there rather than reading the descriptor's
// numbers as signatures.
void LocalHeaderWalk::skipDescriptor(qint64 dataEnd)
{
    const qint64 next = m_central.nextRecordAt(dataEnd + MinDescriptorSize);
    if (next >= 0 && next - dataEnd <= MaxDescriptorSize)
        m_file.seek(next);
}

} // namespace

QDateTime ZipDirectoryReader::dosDateTime(quint32 stamp)
{
    const int date = int(stamp >> 16);
    const int time = int(stamp & 0xFFFF);
    const QDate day(1980 + (date >> 9), (date >> 5) & 15, date & 31);
    const QTime clock(time >> 11, (time >> 5) & 63, (time & 31) * 2);
    if (stamp == 0 || !day.isValid() || !clock.isValid())
        return {};
    return QDateTime(day, clock, Qt::UTC);
}

void ZipDirectoryReader::setFileName(const QString &path)
{
    setFileName(path, QFile::encodeName(path));
}

void ZipDirectoryReader::setFileName(const QString &path, const QByteArray &native)
{
    m_fileName = path;
    m_entries.clear();
    m_errorMessage.clear();
    struct stat st;
    if (path.isEmpty() || stat(native.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return;
    QFile file;
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const QString reason = fd < 0 ? QString::fromLocal8Bit(strerror(errno)) : file.errorString();
        if (fd >= 0)
            ::close(fd);
        m_errorMessage = QStringLiteral("Cannot open Zip file %1: %2").arg(path, reason);
        return;
    }
    const QString failure = LocalHeaderWalk(file, m_entries).run();
    if (!failure.isEmpty())
        m_errorMessage = failure + path;
}

QString ZipDirectoryReader::catalogLine(const ZipEntry &entry, const QString &archivePath,
                                        const DateFormats &formats)
{
    const QString date = entry.modified.isValid() ? formats.format(entry.modified) : QString();
    return CommaText::join({entry.name, QString::number(entry.compressedSize), date, archivePath, QString()});
}

QStringList ZipDirectoryReader::catalogLines(const DateFormats &formats) const
{
    QStringList lines;
    lines.reserve(m_entries.size());
    for (const ZipEntry &entry : m_entries)
        lines << catalogLine(entry, m_fileName, formats);
    return lines;
}
