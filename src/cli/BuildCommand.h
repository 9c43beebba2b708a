// The headless build command, and the music measurement it uses.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

// "vantoshow build ..." with the command name as argv[0]; returns the exit code.
int RunBuildCommand(int argc, char** argv);

// Length of a music file in milliseconds; -1 when it cannot be read.
int32_t MusicLengthMs(const std::string& path);

}  // namespace cli
