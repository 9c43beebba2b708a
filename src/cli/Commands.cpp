#include "cli/Commands.h"

#include <array>

namespace cli {

std::span<const Command> Commands() {
    // Subcommands are added here as they are written; see the files of this folder.
    static const std::array<Command, 0> commands{};
    return commands;
}

}  // namespace cli
