#include "HostileCatalog.h"

#include <QRandomGenerator>

namespace {

const QStringList &nameParts()
{
    static const QStringList parts{
        QStringLiteral("report"),
        QStringLiteral("Report"),
        QStringLiteral("REPORT"),
        QStringLiteral("holiday"),
        QStringLiteral("Ünïcödé"),
        QStringLiteral("straße"),
        QStringLiteral("STRASSE"),
        QStringLiteral("İstanbul"),
        QStringLiteral("\u212Aelvin"),
        QStringLiteral("kelvin"),
        QStringLiteral("Ångström"),
        QStringLiteral("ångström"),
        QStringLiteral("Ελληνικά"),
        QStringLiteral("ελληνικά"),
        QStringLiteral("日本語"),
        QStringLiteral("emoji\U0001F600"),
        QStringLiteral("a \"quoted\" word"),
        QStringLiteral("comma, inside"),
        QStringLiteral("  leading blanks"),
        QStringLiteral("trailing blank "),
        QStringLiteral("semi;colon"),
        QStringLiteral("star*"),
        QStringLiteral("question?"),
        QStringLiteral("back\\slash"),
        QStringLiteral("tab\there"),
        QStringLiteral("Same"),
        QStringLiteral("same"),
        QStringLiteral("SAME"),
        QStringLiteral("\u00A0nbsp"),
        QStringLiteral("zero0"),
        QStringLiteral("x"),
    };
    return parts;
}

const QStringList &extensions()
{
    static const QStringList ext{QStringLiteral(".txt"), QStringLiteral(".TXT"),    QStringLiteral(".Txt"),
                                 QStringLiteral(".jpg"), QStringLiteral(".zip"),    QStringLiteral(""),
                                 QStringLiteral("."),    QStringLiteral(".tar.gz"), QStringLiteral(".ÉXT")};
    return ext;
}

template <typename List>
const auto &pick(const List &list, QRandomGenerator &rng)
{
    return list.at(int(rng.bounded(quint32(list.size()))));
}

QString quoted(const QString &field)
{
    QString escaped = field;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString joined(const QStringList &fields)
{
    QStringList quotedFields;
    for (const QString &f : fields)
        quotedFields << quoted(f);
    return quotedFields.join(u',');
}

QString dateText(QRandomGenerator &rng)
{
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(1 + rng.bounded(12), 2, 10, QLatin1Char('0'))
        .arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'))
        .arg(1990 + rng.bounded(35))
        .arg(rng.bounded(24), 2, 10, QLatin1Char('0'))
        .arg(rng.bounded(60), 2, 10, QLatin1Char('0'))
        .arg(rng.bounded(60), 2, 10, QLatin1Char('0'));
}

QString pathText(QRandomGenerator &rng)
{
    QString path = QStringLiteral("/media/");
    const int depth = rng.bounded(8) == 0 ? 40 + rng.bounded(40) : 1 + rng.bounded(4);
    for (int d = 0; d < depth; ++d)
        path += pick(nameParts(), rng) + u'/';
    return path;
}

// An entry every catalog may hold: the same name, size and date wherever
// it occurs, the path and comment its own.
QStringList sharedEntry(QRandomGenerator &rng)
{
    const quint32 which = rng.bounded(60);
    QRandomGenerator fixed(which + 1);
    QString name = pick(nameParts(), fixed) + QString::number(which % 7) + pick(extensions(), fixed);
    // Some shared names come in several letter cases.
    if (rng.bounded(3) == 0)
        name = rng.bounded(2) ? name.toUpper() : name.toLower();
    return {name, QString::number(fixed.bounded(100000)), dateText(fixed), pathText(rng),
            rng.bounded(4) == 0 ? QStringLiteral("shared \"copy\"") : QString()};
}

QStringList ownEntry(QRandomGenerator &rng, int i)
{
    QString name = pick(nameParts(), rng);
    if (rng.bounded(2))
        name += u' ' + pick(nameParts(), rng);
    name += QString::number(i % 97) + pick(extensions(), rng);
    QString comment;
    switch (rng.bounded(6)) {
    case 0:
        comment = pick(nameParts(), rng);
        break;
    case 1:
        comment = QStringLiteral("said \"hello\", then left");
        break;
    default:
        break;
    }
    return {name, QString::number(rng.bounded(5000000)), dateText(rng), pathText(rng), comment};
}

QString oddLine(QRandomGenerator &rng)
{
    switch (rng.bounded(7)) {
    case 0:
        return QString(); // blank line
    case 1:
        return QStringLiteral("   ");
    case 2:
        return quoted(pick(nameParts(), rng)); // one field only
    case 3:
        return joined({pick(nameParts(), rng), QStringLiteral("12")});
    case 4:
        return QStringLiteral("\"unbalanced ") + pick(nameParts(), rng) + QStringLiteral(",\"3\"");
    case 5:
        return QStringLiteral("bare,words,without,quotes,") + pick(nameParts(), rng);
    default:
        return joined(ownEntry(rng, 0)) + QStringLiteral(",\"extra\",\"fields\"");
    }
}

} // namespace

namespace HostileCatalog {

QStringList lines(quint32 seed, int count)
{
    QRandomGenerator rng(seed);
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        const quint32 kind = rng.bounded(20);
        if (kind == 0)
            out << oddLine(rng);
        else if (kind < 6)
            out << joined(sharedEntry(rng));
        else
            out << joined(ownEntry(rng, i));
    }
    // Exactly repeated lines, as a hand-edited catalog may hold.
    for (int i = 0; i < count / 50; ++i)
        out << out.at(int(rng.bounded(quint32(out.size()))));
    return out;
}

QByteArray fileBytes(quint32 seed, const QStringList &lines)
{
    QRandomGenerator rng(seed ^ 0x5eed);
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        bytes += lines.at(i).toUtf8();
        const bool last = i + 1 == lines.size();
        if (last && rng.bounded(2))
            break;
        const quint32 ending = rng.bounded(10);
        bytes += ending == 0 ? "\n" : ending == 1 ? "\r" : "\r\n";
    }
    return bytes;
}

QStringList frequentWords()
{
    return {QStringLiteral("report"),   QStringLiteral("straße"), QStringLiteral("kelvin"),
            QStringLiteral("ångström"), QStringLiteral("same"),   QStringLiteral("\"quoted\""),
            QStringLiteral("comma,"),   QStringLiteral("*.txt"),  QStringLiteral("r?port"),
            QStringLiteral("ελληνικά"), QStringLiteral("日本"),   QStringLiteral("\U0001F600")};
}

QList<qsizetype> boundarySizes()
{
    QList<qsizetype> sizes;
    for (qsizetype size : {qsizetype(16) << 10, qsizetype(64 << 10) / 3, qsizetype(64) << 10,
                           qsizetype(512) << 10, qsizetype(1) << 20, qsizetype(4) << 20}) {
        sizes << size - 1 << size << size + 1;
    }
    return sizes;
}

QString longLine(const QString &name, qsizetype bytes)
{
    const QString head =
        QStringLiteral("\"%1\",\"7\",\"01/02/2003 04:05\",\"/long/\",\"needle \"\"").arg(name);
    static const QString units[] = {QStringLiteral("x"), QStringLiteral(","), QString::fromUtf8("\u00e9"),
                                    QString::fromUtf8("\u65e5"), QString::fromUtf8("\U0001F600")};
    static const int unitBytes[] = {1, 1, 2, 3, 4};
    QString line = head;
    qsizetype size = head.toUtf8().size() + 1; // and the closing quote
    for (int i = 0; size < bytes; ++i) {
        const int unit = size + unitBytes[i % 5] <= bytes ? i % 5 : 0;
        line += units[unit];
        size += unitBytes[unit];
    }
    return line + u'"';
}

} // namespace HostileCatalog
