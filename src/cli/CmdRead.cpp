// kt6383 read: see kt::kReadUsage in link/LinkCommands.cpp.
#include "cli/Cli.h"

#include "link/LinkCommands.h"

namespace kt::cli {

const Command kRead{"read", "read the radio into a data file pair or an image", kt::kReadUsage, &kt::RunReadCommand};

}  // namespace kt::cli
