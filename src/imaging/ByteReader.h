// A cursor over a file's bytes for our own format readers: every read says
// whether the bytes were there, so a reader can name a cut-off file instead
// of reading past its end.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

namespace imaging {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Size() const { return bytes_.size(); }
    size_t Offset() const { return at_; }
    size_t Left() const { return bytes_.size() - at_; }
    std::span<const uint8_t> Rest() const { return bytes_.subspan(at_); }

    // Up to 'length' bytes from 'offset' of the whole (fewer at the end).
    std::span<const uint8_t> At(size_t offset, size_t length) const {
        if (offset >= bytes_.size()) return {};
        return bytes_.subspan(offset, std::min(length, bytes_.size() - offset));
    }

    std::optional<uint8_t> Byte() {
        if (Left() < 1) return std::nullopt;
        return bytes_[at_++];
    }
    std::optional<uint32_t> Be16() { return Number(2, true); }
    std::optional<uint32_t> Be32() { return Number(4, true); }
    std::optional<uint32_t> Le16() { return Number(2, false); }

    // True, and past it, when the next bytes are 'text'.
    bool Expect(std::string_view text) {
        if (Left() < text.size() || std::memcmp(bytes_.data() + at_, text.data(), text.size()))
            return false;
        at_ += text.size();
        return true;
    }
    // Up to n bytes, and past them.
    std::span<const uint8_t> Take(size_t n) {
        const std::span<const uint8_t> taken = At(at_, n);
        at_ += taken.size();
        return taken;
    }
    void Skip(size_t n) { at_ += std::min(n, Left()); }

private:
    std::optional<uint32_t> Number(size_t width, bool bigEndian) {
        if (Left() < width) return std::nullopt;
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            const uint32_t b = bytes_[at_ + (bigEndian ? i : width - 1 - i)];
            value = (value << 8) | b;
        }
        at_ += width;
        return value;
    }

    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

}  // namespace imaging
