// Headless subcommands of the vantoshow executable.
#pragma once

namespace cli {

// Runs the command line when it names a subcommand or asks for --help or
// --version, and returns the exit code. Returns -1 when the arguments are
// meant for the window (no arguments at all).
int RunCommandLine(int argc, char** argv);

}  // namespace cli
