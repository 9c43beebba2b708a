// Headless subcommands of the vantoshow executable.
#pragma once

#include <string>

namespace cli {

// Runs the command line when it names a subcommand or asks for --help or
// --version, and returns the exit code. Returns -1 when the arguments are
// meant for the window: none at all, or a project to open (ProjectArgument).
int RunCommandLine(int argc, char** argv);

// The project a file manager or a user hands the window ("vantoshow
// show.dvprj"): a single argument that is no command and either ends in
// ".dvprj" (any case) or names an existing file. "" otherwise.
std::string ProjectArgument(int argc, char** argv);

}  // namespace cli
