#include "WindowPlacement.h"

#include "SettingsFile.h"

#include <QStringList>

namespace {

const QString kGlobal = QStringLiteral("Global");

bool parseFour(const QString &text, int out[4])
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        out[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    return true;
}

QString readVariant(const SettingsFile &settings, const QString &key, const QSize &screen)
{
    const QString sized = WindowPlacement::screenKey(key, screen);
    if (settings.hasKey(kGlobal, sized))
        return settings.readString(kGlobal, sized);
    return settings.readString(kGlobal, key);
}

} // namespace

QString WindowPlacement::screenKey(const QString &key, const QSize &screen)
{
    return QStringLiteral("%1(%2x%3)").arg(key).arg(screen.width()).arg(screen.height());
}

void WindowPlacement::setNormalRect(const QRect &r)
{
    left = r.left();
    top = r.top();
    right = r.left() + r.width();
    bottom = r.top() + r.height();
}

WindowPlacement::ShowCmd WindowPlacement::showState(int showCmd)
{
    switch (showCmd) {
    case 2:
    case 6:
    case 7:
        return Minimised;
    case 3:
        return Maximised;
    default:
        return Normal;
    }
}

bool WindowPlacement::read(const SettingsFile &settings, const QSize &screen, WindowPlacement &p)
{
    if (!settings.hasKey(kGlobal, QStringLiteral("NormPos")) &&
        !settings.hasKey(kGlobal, screenKey(QStringLiteral("NormPos"), screen)))
        return false;
    p.flags = settings.readInteger(kGlobal, QStringLiteral("Flags"), 0);
    p.showCmd = settings.readInteger(kGlobal, QStringLiteral("ShowCmd"), Normal);
    p.pixelsPerInch = settings.readInteger(kGlobal, QStringLiteral("PixelsPerInch"), 0);
    int v[4];
    if (parseFour(readVariant(settings, QStringLiteral("MinMaxPos"), screen), v)) {
        p.minPosition = QPoint(v[0], v[1]);
        p.maxPosition = QPoint(v[2], v[3]);
    }
    if (parseFour(readVariant(settings, QStringLiteral("NormPos"), screen), v)) {
        p.left = v[0];
        p.top = v[1];
        p.right = v[2];
        p.bottom = v[3];
    }
    return true;
}

bool WindowPlacement::write(SettingsFile &settings, const QSize &screen) const
{
    const QString minMax = QStringLiteral("%1,%2,%3,%4")
                               .arg(minPosition.x())
                               .arg(minPosition.y())
                               .arg(maxPosition.x())
                               .arg(maxPosition.y());
    const QString norm = QStringLiteral("%1,%2,%3,%4").arg(left).arg(top).arg(right).arg(bottom);
    return settings.writeStrings(kGlobal,
                                 {
                                     {QStringLiteral("Flags"), QString::number(flags)},
                                     {QStringLiteral("ShowCmd"), QString::number(showCmd)},
                                     {QStringLiteral("PixelsPerInch"), QString::number(pixelsPerInch)},
                                     {QStringLiteral("MinMaxPos"), minMax},
                                     {screenKey(QStringLiteral("MinMaxPos"), screen), minMax},
                                     {QStringLiteral("NormPos"), norm},
                                     {screenKey(QStringLiteral("NormPos"), screen), norm},
                                 });
}
