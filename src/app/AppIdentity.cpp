#include "AppIdentity.h"

#include <QCoreApplication>

const char *const AppIdentity::Name = "Kestrovane";

void AppIdentity::apply()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(Name));
}

QString AppIdentity::contactEmail()
{
    return QStringLiteral(KESTROVANE_CONTACT_EMAIL).trimmed();
}

QString AppIdentity::homepageUrl()
{
    return QStringLiteral(KESTROVANE_HOMEPAGE_URL).trimmed();
}
