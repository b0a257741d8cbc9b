#include "CliContext.h"

QList<CliCommand> indexingCommands()
{
    return {};
}
