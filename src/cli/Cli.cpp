#include "cli/Cli.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace cli {

namespace {

void PrintHelp() {
    std::printf(
        "Usage: vantoshow [COMMAND [OPTIONS]]\n"
        "\n"
        "Without a command, opens the Vanto Slideshow window; with a project\n"
        "file (vantoshow show.dvprj), opens the window with that project loaded.\n"
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

bool IsCommand(const std::string& name) {
    for (const Command& command : Commands())
        if (name == command.name) return true;
    return false;
}

}  // namespace

std::string ProjectArgument(int argc, char** argv) {
    if (argc != 2) return "";
    const std::string argument = argv[1];
    if (argument.empty() || argument[0] == '-' || IsCommand(argument)) return "";
    std::string lower = argument;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    constexpr std::string_view kExtension = ".dvprj";
    const bool named = lower.size() > kExtension.size() && lower.ends_with(kExtension);
    std::error_code error;
    if (named || std::filesystem::is_regular_file(argument, error)) return argument;
    return "";
}

int RunCommandLine(int argc, char** argv) {
    if (argc < 2 || !ProjectArgument(argc, argv).empty()) return -1;
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
