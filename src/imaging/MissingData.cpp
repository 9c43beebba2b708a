#include "imaging/MissingData.h"

#include <cstdlib>
#include <string>

namespace imaging {

namespace {

// Reads little- and big-endian fields; 0 past the end (the callers check
// the length they need first).
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t size() const { return bytes_.size(); }
    uint32_t le(size_t at, int width) const { return field(at, width, false); }
    uint32_t be(size_t at, int width) const { return field(at, width, true); }
    uint8_t byte(size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }

private:
    uint32_t field(size_t at, int width, bool bigEndian) const {
        uint32_t value = 0;
        for (int i = 0; i < width; ++i) {
            const uint32_t b = byte(at + static_cast<size_t>(bigEndian ? i : width - 1 - i));
            value = value << 8 | b;
        }
        return value;
    }
    std::span<const uint8_t> bytes_;
};

base::Fault Shortfall(uint64_t have, uint64_t need) {
    return base::MakeFault("the file ends after " + std::to_string(have) + " of its " +
                               std::to_string(need) + " bytes",
                           base::FaultKind::BadData);
}

// Uncompressed rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) take a known
// number of bytes; compressed ones are left to the reader.
base::Status MissingBmp(const Reader& r) {
    if (r.size() < 26) return {};
    const uint32_t dataOffset = r.le(10, 4), headerSize = r.le(14, 4);
    int64_t width, height, bits;
    if (headerSize == 12) {
        width = r.le(18, 2);
        height = r.le(20, 2);
        bits = r.le(24, 2);
    } else {
        if (r.size() < 34) return {};
        const uint32_t compression = r.le(30, 4);
        if (compression != 0 && compression != 3 && compression != 6) return {};
        width = static_cast<int32_t>(r.le(18, 4));
        height = std::llabs(static_cast<int32_t>(r.le(22, 4)));
        bits = r.le(28, 2);
    }
    if (width <= 0 || height <= 0 || bits <= 0 || bits > 64) return {};
    const uint64_t need = dataOffset + static_cast<uint64_t>((width * bits + 31) / 32 * 4) *
                                           static_cast<uint64_t>(height);
    if (r.size() >= need) return {};
    return Shortfall(r.size(), need);
}

// Walks the blocks up to the trailer: extensions and images are runs of
// sub-blocks ending with an empty one.
base::Status MissingGif(const Reader& r) {
    if (r.size() < 13) return {};
    const auto tableSize = [](uint8_t flags) {
        return flags & 0x80 ? size_t{3} << ((flags & 7) + 1) : size_t{0};
    };
    size_t at = 13 + tableSize(r.byte(10));
    const auto skipSubBlocks = [&] {
        while (at < r.size() && r.byte(at) != 0) at += size_t{r.byte(at)} + 1;
        ++at;  // the empty block
    };
    while (at < r.size()) {
        switch (r.byte(at)) {
            case 0x3B:  // trailer
                return {};
            case 0x21:  // extension: label, then sub-blocks
                at += 2;
                skipSubBlocks();
                break;
            case 0x2C:  // image: descriptor, local table, code size, sub-blocks
                at += 10 + tableSize(r.byte(at + 9)) + 1;
                skipSubBlocks();
                break;
            default:  // not a block we know; the reader decides
                return {};
        }
    }
    return base::MakeFault("the file ends before its last block", base::FaultKind::BadData);
}

// Run-length data (type 2) expands to height rows of 16-bit aligned bytes.
base::Status MissingSunRaster(const Reader& r) {
    if (r.size() < 32 || r.be(20, 4) != 2) return {};
    const uint64_t width = r.be(4, 4), height = r.be(8, 4), depth = r.be(12, 4);
    const uint64_t need = (width * depth + 15) / 16 * 2 * height;
    uint64_t produced = 0;
    size_t at = 32 + static_cast<size_t>(r.be(28, 4));
    while (produced < need && at < r.size()) {
        if (r.byte(at) != 0x80) {
            ++produced;
            ++at;
        } else if (at + 1 < r.size() && r.byte(at + 1) == 0) {
            ++produced;  // an escaped 0x80
            at += 2;
        } else if (at + 2 < r.size()) {
            produced += uint64_t{r.byte(at + 1)} + 1;
            at += 3;
        } else {
            break;
        }
    }
    if (produced >= need) return {};
    return base::MakeFault("the picture data ends after " + std::to_string(produced) + " of its " +
                               std::to_string(need) + " bytes",
                           base::FaultKind::BadData);
}

using Check = base::Status (*)(const Reader&);
constexpr Check kChecks[] = {MissingBmp, MissingGif, MissingSunRaster};

}  // namespace

base::Status CheckComplete(StructuredFormat format, std::span<const uint8_t> bytes) {
    return kChecks[static_cast<size_t>(format)](Reader(bytes));
}

}  // namespace imaging
