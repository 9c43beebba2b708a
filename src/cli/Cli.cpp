#include "cli/Cli.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace cli {

namespace {

void PrintHelp() {
    std::printf(
        "Usage: vantoshow [COMMAND [OPTIONS]]\n"
        "\n"
        "Without a command, opens the Vanto Slideshow window.\n"
        "\n"
        "Commands:\n");
    for (const Command& command : Commands()) {
        std::printf("  %-20s %s\n", command.name, command.summary);
    }
    std::printf(
        "\n"
        "Options:\n"
        "  --help               show this help and exit\n"
        "  --version            show the version and exit\n"
        "\n"
        "Run 'vantoshow COMMAND --help' for the options of a command.\n");
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
    if (argc < 2) return -1;
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp();
        return 0;
    }
    if (first == "--version") {
        std::printf("vantoshow %s\n", VANTO_VERSION);
        return 0;
    }
    for (const Command& command : Commands()) {
        if (first == command.name) return command.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "vantoshow: unknown command '%s' (see vantoshow --help)\n", first.c_str());
    return 2;
}

}  // namespace cli
