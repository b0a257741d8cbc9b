#include "AppIdentity.h"

#include <QGuiApplication>
#include <QIcon>

const char *const AppIdentity::Name = "Kestrovane";
const char *const AppIdentity::AppId = KESTROVANE_APP_ID;

void AppIdentity::apply()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(Name));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppId));
    const QString iconName = QString::fromLatin1(AppId);
    QGuiApplication::setWindowIcon(
        QIcon::fromTheme(iconName, QIcon(QStringLiteral(":/icons/%1.svg").arg(iconName))));
}

QString AppIdentity::contactEmail()
{
    return QStringLiteral(KESTROVANE_CONTACT_EMAIL).trimmed();
}

QString AppIdentity::homepageUrl()
{
    return QStringLiteral(KESTROVANE_HOMEPAGE_URL).trimmed();
}

QString AppIdentity::version()
{
    return QStringLiteral(KESTROVANE_VERSION);
}

QString AppIdentity::caption()
{
    return QString::fromLatin1(Name) + QStringLiteral(" v") + version();
}

QString AppIdentity::trayHint()
{
    return QString::fromLatin1(Name) + QStringLiteral(" v %1.0").arg(KESTROVANE_VERSION_MAJOR);
}
