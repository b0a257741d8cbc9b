#pragma once

#include <QString>

class SettingsFile;

// The folder the file and folder dialogs open in: the one last chosen in
// any of them, kept in section Global across runs, else the home folder.
class LastFolder
{
public:
    static const QString Key; // "LastFolder"

    // preferred when it names an existing folder (a box's own path), else
    // the remembered folder while it exists, else the home folder.
    static QString start(const SettingsFile &settings, const QString &preferred = QString());
    // Remembers path's folder: path itself when it is a folder, else the
    // folder holding it. An empty path (a cancelled dialog) changes nothing.
    static void remember(SettingsFile &settings, const QString &path);
};
