#include "CliContext.h"

QList<CliCommand> treeCommands()
{
    return {};
}
