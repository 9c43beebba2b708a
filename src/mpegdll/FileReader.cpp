#include "mpegdll/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mpegdll {

namespace {
// Small enough to stay in the CPU cache while the decoder copies out of it.
constexpr size_t kBlockSize = 64 * 1024;
}  // namespace

FileReader::~FileReader() {
    close();
}

bool FileReader::open(const char* path) {
    close();
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may
    // never come; the check below then turns it away.
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Reads of a regular file ignore the flag; drop it all the same.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Decoding and the length scan read front to back: ask for a larger
    // read-ahead.
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    buffer_.resize(kBlockSize);
    bufferStart_ = 0;
    bufferLength_ = 0;
    cursor_ = 0;
    return true;
}

void FileReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferStart_ = 0;
    bufferLength_ = 0;
    cursor_ = 0;
}

off_t FileReader::size() const {
    struct stat info {};
    if (fd_ < 0 || fstat(fd_, &info) != 0) return -1;
    return info.st_size;
}

bool FileReader::fill() {
    bufferStart_ += static_cast<off_t>(bufferLength_);
    bufferLength_ = 0;
    cursor_ = 0;
    for (;;) {
        ssize_t got = ::pread(fd_, buffer_.data(), buffer_.size(), bufferStart_);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        bufferLength_ = static_cast<size_t>(got);
        return true;
    }
}

ssize_t FileReader::read(void* out, size_t count) {
    if (fd_ < 0) return -1;
    auto* target = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < count) {
        if (cursor_ == bufferLength_) {
            if (!fill()) return done > 0 ? static_cast<ssize_t>(done) : -1;
            if (bufferLength_ == 0) break;  // end of file
        }
        size_t take = std::min(count - done, bufferLength_ - cursor_);
        std::memcpy(target + done, buffer_.data() + cursor_, take);
        cursor_ += take;
        done += take;
    }
    return static_cast<ssize_t>(done);
}

off_t FileReader::seek(off_t offset, int whence) {
    if (fd_ < 0) return -1;
    off_t current = bufferStart_ + static_cast<off_t>(cursor_);
    off_t target;
    switch (whence) {
        case SEEK_SET:
            target = offset;
            break;
        case SEEK_CUR:
            target = current + offset;
            break;
        case SEEK_END: {
            off_t end = size();
            if (end < 0) return -1;
            target = end + offset;
            break;
        }
        default:
            return -1;
    }
    if (target < 0) return -1;
    if (target >= bufferStart_ && target <= bufferStart_ + static_cast<off_t>(bufferLength_)) {
        cursor_ = static_cast<size_t>(target - bufferStart_);
    } else {
        // Outside the buffer: start the next fill at the target.
        bufferStart_ = target;
        bufferLength_ = 0;
        cursor_ = 0;
    }
    return target;
}

ssize_t FileReader::readCallback(void* handle, void* out, size_t count) {
    return static_cast<FileReader*>(handle)->read(out, count);
}

off_t FileReader::seekCallback(void* handle, off_t offset, int whence) {
    return static_cast<FileReader*>(handle)->seek(offset, whence);
}

}  // namespace mpegdll
