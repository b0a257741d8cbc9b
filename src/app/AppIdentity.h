#pragma once

#include <QString>

// The names the program gives itself before any window is made.
class AppIdentity
{
public:
    // Names the application "Kestrovane" and gives it no display name of its
    // own: on X11 Qt appends a set display name to every window title, and the
    // main window's title is the program's status line, which must read
    // exactly "Kestrovane v2.01" or "Kestrovane v2.01 - " and a text.
    // Names the installed desktop entry, so that desktops show its name and
    // icon for the program's windows, and takes the window icon from the
    // icon theme, or from the program itself when the theme has none.
    static void apply();
    static const char *const Name;  // "Kestrovane"
    static const char *const AppId; // the desktop entry's and icon's name
    // The project's contact addresses for the about panel, set when the
    // program is built; empty when the build set none.
    static QString contactEmail();
    static QString homepageUrl();
    // The project's version, as the build names it ("2.01").
    static QString version();
    // The main window's caption: "Kestrovane v" and the version.
    static QString caption();
    // The tray icon's hint, which names the major version only:
    // "Kestrovane v 2.0".
    static QString trayHint();
};
