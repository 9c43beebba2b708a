// FFmpeg's own log lines kept off the terminal: its notes and warnings
// (timestamps it could not update, encoder statistics) say nothing a user
// can act on, and its errors are kept per thread so that the message of a
// failed call can name the cause FFmpeg gave. VANTO_FFMPEG_LOG=1 in the
// environment lets everything through to stderr, for debugging.
#pragma once

#include <string>

namespace base {

// Installs the routing; once per process, from any thread, cheap after the
// first call. Every module that opens FFmpeg contexts calls it first.
void RouteFfmpegLog();

// The last error line FFmpeg logged on this thread since the last call
// (empty when none), without its prefix and trailing newline.
std::string TakeFfmpegError();

// 'text' with FFmpeg's last error on this thread added in parentheses when
// it says something 'text' does not.
std::string WithFfmpegError(std::string text);

}  // namespace base
