// The headless build command.
#pragma once

namespace cli {

// "vantoshow build ..." with the command name as argv[0]; returns the exit code.
int RunBuildCommand(int argc, char** argv);

}  // namespace cli
