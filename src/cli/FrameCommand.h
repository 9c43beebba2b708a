// The headless frame command: one frame of a show, as its video shows it.
#pragma once

namespace cli {

// "vantoshow frame ..." with the command name as argv[0]; returns the exit code.
int RunFrameCommand(int argc, char** argv);

}  // namespace cli
