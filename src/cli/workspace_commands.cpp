#include "cli/command.h"

namespace cli {

std::vector<Command> workspaceCommands() {
    return {};
}

} // namespace cli
