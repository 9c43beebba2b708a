#include "base/FfmpegLog.h"

#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>

extern "C" {
#include <libavutil/log.h>
}

namespace base {
namespace {

thread_local std::string lastError;
// Enough for any cause FFmpeg gives in one line.
constexpr size_t kMaxErrorChars = 1024;
// FFmpeg may log one line in pieces: the next piece continues it.
thread_local bool lineOpen = false;

void Route(void* context, int level, const char* format, va_list arguments) {
    if (level > AV_LOG_ERROR) return;
    // Only the text: the context's name prefix means nothing to a user.
    char line[1024];
    int printPrefix = 0;
    va_list copy;
    va_copy(copy, arguments);
    av_log_format_line2(context, level, format, copy, line, sizeof line, &printPrefix);
    va_end(copy);
    std::string text(line);
    const bool ends = !text.empty() && text.back() == '\n';
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (!lineOpen)
        lastError = text;
    else if (lastError.size() < kMaxErrorChars)
        // A damaged file can log pieces without end: the cause is at the start.
        lastError += text.substr(0, kMaxErrorChars - lastError.size());
    lineOpen = !ends;
}

}  // namespace

void RouteFfmpegLog() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        const char* wanted = std::getenv("VANTO_FFMPEG_LOG");
        if (wanted && *wanted && std::string(wanted) != "0") return;
        av_log_set_callback(Route);
    });
}

std::string TakeFfmpegError() {
    lineOpen = false;
    return std::exchange(lastError, {});
}

std::string WithFfmpegError(std::string text) {
    const std::string cause = TakeFfmpegError();
    if (!cause.empty() && text.find(cause) == std::string::npos) text += " (" + cause + ")";
    return text;
}

}  // namespace base
