#include "AppIdentity.h"

#include <QCoreApplication>

const char *const AppIdentity::Name = "Kestrovane";

void AppIdentity::apply()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(Name));
}
