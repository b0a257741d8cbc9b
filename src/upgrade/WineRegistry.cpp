#include "WineRegistry.h"

#include "library/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QChar controlEscape(QChar c)
{
    switch (c.unicode()) {
    case 'a':
        return QChar(7);
    case 'b':
        return QChar(8);
    case 'e':
        return QChar(27);
    case 'f':
        return QChar(12);
    case 'n':
        return QChar(10);
    case 'r':
        return QChar(13);
    case 't':
        return QChar(9);
    case 'v':
        return QChar(11);
    default:
        return c;
    }
}

// Reads an escaped text from pos up to the unescaped character end; pos
// ends after it. Escapes: \x with up to four hex digits, \ with up to three
// octal digits, the C letters, and any other character taken as itself.
QString readEscaped(QStringView line, qsizetype &pos, QChar end, bool *closed = nullptr)
{
    QString out;
    if (closed)
        *closed = false;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == end) {
            if (closed)
                *closed = true;
            return out;
        }
        if (c != u'\\' || pos >= line.size()) {
            out += c;
            continue;
        }
        const QChar e = line[pos++];
        if (e == u'x') {
            uint code = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
                code = code * 16 + uint(hexDigit(line[pos++]));
                ++digits;
            }
            out += digits ? QChar(char16_t(code)) : e;
        } else if (e >= u'0' && e <= u'7') {
            uint code = e.unicode() - '0';
            for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= u'0' && line[pos] <= u'7';
                 ++digits)
                code = code * 8 + (line[pos++].unicode() - '0');
            out += QChar(char16_t(code));
        } else {
            out += controlEscape(e);
        }
    }
    return out;
}

// "[Software\\\\Key] 1700000000": the key's path with single backslashes,
// or empty when the line is no key line.
QString keyPath(QStringView line)
{
    qsizetype pos = 1;
    bool closed = false;
    const QString path = readEscaped(line, pos, u']', &closed);
    return closed ? path : QString();
}

// The text of a value's data, or nothing for a type the import never reads.
bool readData(QStringView data, QString &text)
{
    // A string cut off before its closing quote is no value.
    bool closed = false;
    if (data.startsWith(u'"')) {
        qsizetype pos = 1;
        text = readEscaped(data, pos, u'"', &closed);
        return closed;
    }
    if (data.startsWith(QLatin1String("str(2):\""))) {
        qsizetype pos = 8;
        text = readEscaped(data, pos, u'"', &closed);
        return closed;
    }
    if (data.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        // A dword is stored unsigned; read as the signed number it holds.
        const qint32 number = qint32(data.mid(6).trimmed().toUInt(&ok, 16));
        if (ok)
            text = QString::number(number);
        return ok;
    }
    return false;
}

} // namespace

QString WineRegistry::findPrefix(const QString &dir)
{
    if (dir.isEmpty())
        return QString();
    // A folder chosen through a link (a link in the home folder, or Wine's
    // own dosdevices/c:) may have no prefix above it as typed, while the
    // folder it leads to has.
    const QFileInfo chosen(dir);
    for (const QString &path : {chosen.absoluteFilePath(), chosen.canonicalFilePath()}) {
        if (const QString prefix = prefixAbove(path); !prefix.isEmpty())
            return prefix;
    }
    return QString();
}

QString WineRegistry::prefixAbove(const QString &absolutePath)
{
    if (absolutePath.isEmpty())
        return QString();
    QDir at(absolutePath);
    do {
        if (QFileInfo(at.filePath(QStringLiteral("drive_c"))).isDir())
            return at.path();
    } while (at.cdUp());
    return QString();
}

WineRegistry WineRegistry::forDirectory(const QString &dir)
{
    WineRegistry registry;
    const QString prefix = findPrefix(dir);
    if (!prefix.isEmpty())
        registry.load(prefix + QStringLiteral("/user.reg"));
    return registry;
}

bool WineRegistry::load(const QString &path)
{
    m_keys.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    parse(decode(bytes));
    return true;
}

QString WineRegistry::decode(const QByteArray &bytes)
{
    // Wine writes its files in UTF-8, but a file saved by regedit or a
    // Windows editor is UTF-16 behind a byte-order mark.
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    return TextFile::decode(bytes);
}

void WineRegistry::parse(const QString &text)
{
    m_keys.clear();
    QHash<QString, QString> *current = nullptr;
    const QStringList lines = TextFile::splitLines(text);
    for (const QString &raw : lines) {
        const QStringView line = QStringView(raw).trimmed();
        if (line.startsWith(u'[')) {
            const QString path = keyPath(line);
            current = path.isEmpty() ? nullptr : &m_keys[path.toLower()];
            continue;
        }
        if (!current || line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(u'"')) {
            pos = 1;
            name = readEscaped(line, pos, u'"');
        } else if (line.startsWith(u'@')) {
            pos = 1; // the key's default value has an empty name
        } else {
            continue;
        }
        if (pos >= line.size() || line[pos] != u'=')
            continue;
        if (QString data; readData(line.mid(pos + 1), data))
            current->insert(name.toLower(), data);
    }
}

bool WineRegistry::hasKey(const QString &key) const
{
    return m_keys.contains(key.toLower());
}

QString WineRegistry::value(const QString &key, const QString &name) const
{
    const auto it = m_keys.constFind(key.toLower());
    return it == m_keys.cend() ? QString() : it->value(name.toLower());
}

QStringList WineRegistry::valueNames(const QString &key) const
{
    const auto it = m_keys.constFind(key.toLower());
    return it == m_keys.cend() ? QStringList() : QStringList(it->keyBegin(), it->keyEnd());
}
