// Buffered reading of an MP3 file for the decoder.
//
// The decoder asks for a few bytes at a time (a frame header, then its body),
// which through plain read() costs two system calls per frame and dominates
// the frame scan that measures a file. This reader serves those requests from
// a large block buffer. It reads through a file descriptor rather than a
// memory map, so a file that shrinks while open gives a short read, not a
// crash.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegdll {

class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens a regular file for reading; false when it is missing, unreadable
    // or not a regular file (a folder or a device).
    bool open(const char* path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // Current size of the file in bytes, -1 when unknown.
    off_t size() const;

    // read() and lseek() semantics: bytes read (0 at the end, -1 on error),
    // the new offset or -1.
    ssize_t read(void* out, size_t count);
    off_t seek(off_t offset, int whence);

    // Callbacks in the shape libmpg123 expects for a replaced reader.
    static ssize_t readCallback(void* handle, void* out, size_t count);
    static off_t seekCallback(void* handle, off_t offset, int whence);

private:
    bool fill();

    int fd_ = -1;
    std::vector<uint8_t> buffer_;
    off_t bufferStart_ = 0;  // file offset of buffer_[0]
    size_t bufferLength_ = 0;
    size_t cursor_ = 0;  // read position inside buffer_
};

}  // namespace mpegdll
