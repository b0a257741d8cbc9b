#include "CategoryName.h"

#include "CatalogName.h"

QString CategoryName::problem(const QString &name)
{
    return CatalogName::controlProblem(name, QStringLiteral("category"));
}
