// kt6383 write: see kt::kWriteUsage in link/LinkCommands.cpp.
#include "cli/Cli.h"

#include "link/LinkCommands.h"

namespace kt::cli {

const Command kWrite{"write", "write a data file pair or an image into one radio or several", kt::kWriteUsage, &kt::RunWriteCommand};

}  // namespace kt::cli
