// kt6383 simulate: see kt::kSimulateUsage in link/LinkCommands.cpp.
#include "cli/Cli.h"

#include "link/LinkCommands.h"

namespace kt::cli {

const Command kSimulate{"simulate", "run a simulated radio on a pseudo-terminal", kt::kSimulateUsage, &kt::RunSimulateCommand};

}  // namespace kt::cli
