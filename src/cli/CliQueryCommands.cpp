#include "CliContext.h"

QList<CliCommand> queryCommands()
{
    return {};
}
