#include "cli/command.h"

namespace cli {

std::vector<Command> catalogueCommands() {
    return {};
}

} // namespace cli
