#pragma once

#include <QRect>
#include <QSize>

class SettingsFile;

// The main window's placement record in section Global. MinMaxPos and
// NormPos are also kept under a screen-size variant of the key, which is
// preferred on restore.
struct WindowPlacement {
    enum ShowCmd { Normal = 1, Minimised = 2, Maximised = 3 };

    int flags = 0;
    int showCmd = Normal;
    int pixelsPerInch = 96;
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    // left, top, right, bottom as stored
    int left = 0, top = 0, right = 0, bottom = 0;

    bool hasNormalRect() const { return right > left; }
    QRect normalRect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    void setNormalRect(const QRect &r);
    // 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised.
    static ShowCmd showState(int showCmd);

    // False when the file holds no placement.
    static bool read(const SettingsFile &settings, const QSize &screen, WindowPlacement &placement);
    bool write(SettingsFile &settings, const QSize &screen) const;
    static QString screenKey(const QString &key, const QSize &screen);
};
