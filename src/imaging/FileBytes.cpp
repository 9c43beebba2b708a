#include "imaging/FileBytes.h"

#include <cstdio>
#include <memory>

#include "imaging/PictureError.h"

namespace imaging {

namespace {
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& fileName, size_t padding) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file)
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be opened");
    if (std::fseek(file.get(), 0, SEEK_END) != 0)
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be read");
    const long size = std::ftell(file.get());
    if (size < 0)
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be read");
    if (size == 0) throw PictureError(PictureError::Kind::Empty, fileName, "the file is empty");
    if (size > kMaxPictureFileBytes)
        throw PictureError(PictureError::Kind::TooLarge, fileName, "the file is larger than 1 GiB");
    std::rewind(file.get());
    std::vector<uint8_t> bytes(static_cast<size_t>(size) + padding, 0);
    if (std::fread(bytes.data(), 1, static_cast<size_t>(size), file.get()) !=
        static_cast<size_t>(size))
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be read");
    return bytes;
}

std::vector<uint8_t> ReadFileHead(const std::string& fileName, size_t maxBytes) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file)
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be opened");
    std::vector<uint8_t> head(maxBytes);
    const size_t got = std::fread(head.data(), 1, head.size(), file.get());
    if (got < head.size() && std::ferror(file.get()))
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be read");
    head.resize(got);
    return head;
}

}  // namespace imaging
