// The table of headless subcommands. Each command lives in a file of its own
// and receives its arguments with the command name as argv[0].
#pragma once

#include <span>

namespace cli {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(int argc, char** argv);
};

std::span<const Command> Commands();

}  // namespace cli
