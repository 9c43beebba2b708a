// Helpers shared by the fuzz targets: the input handed to a decoder as a
// file that lives in memory, and the leading selector byte that lets one
// target reach several formats.
//
// Our decoders take a file name, as the program gives them one; a memory
// file reached through /proc/self/fd lets them read the fuzzer's bytes by
// name without touching the disk on every run.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fuzz {

class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("vanto-fuzz", 0)) {}
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the content; returns the name to open it by, or "" when the
    // memory file could not be made or filled.
    std::string Fill(std::span<const uint8_t> bytes) {
        if (fd_ < 0 || ftruncate(fd_, 0) != 0) return {};
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written =
                pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (written <= 0) return {};
            done += static_cast<size_t>(written);
        }
        return "/proc/self/fd/" + std::to_string(fd_);
    }

private:
    int fd_;
};

// The first byte picks one of 'count' choices; the rest is the payload.
struct Selected {
    size_t choice = 0;
    std::span<const uint8_t> payload;
};
inline Selected SelectBy(const uint8_t* data, size_t size, size_t count) {
    if (size == 0) return {};
    return {data[0] % count, {data + 1, size - 1}};
}

}  // namespace fuzz
