#include "imaging/PsdReader.h"

#include <array>
#include <span>
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileBytes.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

enum Mode : uint32_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };

// What each colour mode needs: the channels that make its colour, and
// whether a channel after them is opacity.
struct ModeRule {
    uint32_t mode;
    int colourChannels;
    bool alphaAfter;
    int depths;  // bit mask of the depths it may have: 1 << 1, 1 << 8, 1 << 16
};
constexpr ModeRule kModes[] = {
    {kBitmap, 1, false, 1 << 1},
    {kGrey, 1, true, (1 << 8) | (1 << 16)},
    {kIndexed, 1, false, 1 << 8},
    {kRgb, 3, true, (1 << 8) | (1 << 16)},
    {kCmyk, 4, true, (1 << 8) | (1 << 16)},
    {kDuotone, 1, true, (1 << 8) | (1 << 16)},
};

// Runs of PackBits: n < 128 copies n + 1 bytes, n > 128 repeats the next
// byte 257 - n times, 128 is nothing.
bool UnpackBits(ByteReader in, std::span<uint8_t> out) {
    size_t at = 0;
    while (at < out.size()) {
        const auto n = in.Byte();
        if (!n) return false;
        if (*n < 128) {
            for (int i = 0; i <= *n; ++i) {
                const auto b = in.Byte();
                if (!b) return false;
                if (at < out.size()) out[at++] = *b;
            }
        } else if (*n > 128) {
            const auto b = in.Byte();
            if (!b) return false;
            for (int i = 0; i < 257 - *n && at < out.size(); ++i) out[at++] = *b;
        }
    }
    return true;
}

class PsdFile {
public:
    PsdFile(const std::string& fileName, std::span<const uint8_t> bytes)
        : fileName_(fileName), in_(bytes) {}

    DecodedImage Decode() {
        ReadHeader();
        ReadColourModeData();
        SkipSection("image resources");
        SkipSection("layers");
        const auto compression = in_.Be16();
        if (!compression) Damaged("the file ends before the merged image");
        if (*compression > 1)
            throw PictureError(PictureError::Kind::Unsupported, fileName_,
                               "ZIP-compressed Photoshop pictures are not supported");
        PlanOffsets(*compression == 1);
        return ReadPixels(*compression == 1);
    }

private:
    [[noreturn]] void Damaged(const std::string& what) const {
        throw PictureError(PictureError::Kind::Damaged, fileName_,
                           "the picture is damaged: " + what);
    }
    [[noreturn]] void Corrupt(const std::string& what) const {
        throw PictureError(PictureError::Kind::Corrupt, fileName_,
                           "broken Photoshop data: " + what);
    }

    void ReadHeader() {
        if (!in_.Expect("8BPS"))
            throw PictureError(PictureError::Kind::WrongContent, fileName_,
                               "the content is not in Photoshop format");
        const auto version = in_.Be16();
        if (version == 2)
            throw PictureError(PictureError::Kind::Unsupported, fileName_,
                               "large-document Photoshop files (PSB) are not supported");
        if (version != 1) Corrupt("unknown version");
        in_.Skip(6);
        const auto channels = in_.Be16(), height = in_.Be32(), width = in_.Be32(),
                   depth = in_.Be16(), mode = in_.Be16();
        if (!mode) Damaged("the file ends inside its header");
        if (*width == 0 || *height == 0) Corrupt("the header gives no picture size");
        if (uint64_t{*width} * *height > uint64_t{raster::Bitmap::kMaxPixels})
            throw PictureError(PictureError::Kind::TooLarge, fileName_,
                               std::to_string(*width) + " x " + std::to_string(*height) +
                                   " pixels is above the limit of 100 megapixels");
        const ModeRule* rule = nullptr;
        for (const ModeRule& r : kModes)
            if (r.mode == *mode) rule = &r;
        if (!rule)
            throw PictureError(PictureError::Kind::Unsupported, fileName_,
                               "Photoshop colour mode " + std::to_string(*mode) +
                                   " (multichannel or Lab) is not supported");
        if (*depth > 16 || !(rule->depths & (1 << *depth)))
            throw PictureError(PictureError::Kind::Unsupported, fileName_,
                               std::to_string(*depth) +
                                   "-bit Photoshop pictures of this mode "
                                   "are not supported");
        if (*channels < static_cast<uint32_t>(rule->colourChannels) || *channels > 56)
            Corrupt("wrong channel count");
        width_ = static_cast<int>(*width);
        height_ = static_cast<int>(*height);
        depth_ = static_cast<int>(*depth);
        channels_ = *channels;
        mode_ = rule->mode;
        colourChannels_ = rule->colourChannels;
        alphaChannel_ = rule->alphaAfter && channels_ > static_cast<uint32_t>(colourChannels_);
        rowBytes_ = (static_cast<size_t>(width_) * static_cast<size_t>(depth_) + 7) / 8;
    }

    void ReadColourModeData() {
        const auto length = in_.Be32();
        if (!length || *length > in_.Left()) Damaged("the file ends inside its colour table");
        if (mode_ == kIndexed) {
            if (*length < 768) Corrupt("the colour table is short");
            const std::span<const uint8_t> table = in_.Take(768);
            for (int i = 0; i < 256; ++i)
                palette_[static_cast<size_t>(i)] =
                    raster::RGB(table[static_cast<size_t>(i)], table[256 + static_cast<size_t>(i)],
                                table[512 + static_cast<size_t>(i)]);
            in_.Skip(*length - 768);
        } else {
            in_.Skip(*length);
        }
    }

    void SkipSection(const char* what) {
        const auto length = in_.Be32();
        if (!length || *length > in_.Left())
            Damaged(std::string("the file ends inside its ") + what);
        in_.Skip(*length);
    }

    // Where the rows of each channel we read start. Run-length rows are found
    // through the table of row lengths that precedes them, as they are read.
    void PlanOffsets(bool rle) {
        const int used = colourChannels_ + (alphaChannel_ ? 1 : 0);
        if (!rle) {
            const uint64_t plane = uint64_t{rowBytes_} * static_cast<uint64_t>(height_);
            if (plane * static_cast<uint64_t>(used) > in_.Left())
                Damaged("the file ends before the picture does");
            for (int c = 0; c < used; ++c)
                next_[static_cast<size_t>(c)] = in_.Offset() + static_cast<size_t>(c) * plane;
            return;
        }
        // Every channel's row lengths come first, then the rows.
        const uint64_t count = uint64_t{channels_} * static_cast<uint64_t>(height_);
        if (count * 2 > in_.Left()) Damaged("the file ends inside the row lengths");
        lengths_ = in_.Offset();
        size_t at = in_.Offset() + static_cast<size_t>(count) * 2;
        ByteReader table(in_.Rest());
        for (int c = 0; c < used; ++c) {
            next_[static_cast<size_t>(c)] = at;
            for (int y = 0; y < height_; ++y) at += *table.Be16();
        }
    }

    // The bytes of row y of channel c, in file order.
    std::span<const uint8_t> NextRow(int c, int y, bool rle) {
        size_t& at = next_[static_cast<size_t>(c)];
        const size_t length =
            rle ? *ByteReader(in_.At(lengths_ + 2 * (static_cast<size_t>(c) * height_ + y), 2))
                       .Be16()
                : rowBytes_;
        const std::span<const uint8_t> row = in_.At(at, length);
        if (row.size() != length) Damaged("the file ends before the picture does");
        at += length;
        return row;
    }

    DecodedImage ReadPixels(bool rle) {
        DecodedImage result;
        result.natural = Size{width_, height_};
        result.pixels = raster::Bitmap(width_, height_);
        if (alphaChannel_) result.alpha.resize(static_cast<size_t>(width_) * height_);
        const int used = colourChannels_ + (alphaChannel_ ? 1 : 0);
        std::vector<std::vector<uint8_t>> raw(static_cast<size_t>(used),
                                              std::vector<uint8_t>(rowBytes_));
        std::array<const uint8_t*, 5> samples{};
        bool opaque = true, invisible = true;
        for (int y = 0; y < height_; ++y) {
            for (int c = 0; c < used; ++c) {
                const std::span<uint8_t> row(raw[static_cast<size_t>(c)]);
                const std::span<const uint8_t> source = NextRow(c, y, rle);
                if (!rle)
                    std::copy(source.begin(), source.end(), row.begin());
                else if (!UnpackBits(ByteReader(source), row))
                    Damaged("a run-length row runs short");
                samples[static_cast<size_t>(c)] = row.data();
            }
            uint8_t* out = result.pixels.row(y);
            for (int x = 0; x < width_; ++x, out += 3) {
                const raster::Color colour = ColourAt(samples, x);
                out[0] = raster::BlueOf(colour);
                out[1] = raster::GreenOf(colour);
                out[2] = raster::RedOf(colour);
                if (alphaChannel_) {
                    const uint8_t a = Sample(samples[static_cast<size_t>(colourChannels_)], x);
                    result.alpha[static_cast<size_t>(y) * width_ + x] = a;
                    opaque = opaque && a == 255;
                    invisible = invisible && a == 0;
                }
            }
        }
        // Old writers leave an extra channel at zero: opacity that hides the
        // whole picture is an unused channel.
        if (opaque || invisible) result.alpha.clear();
        return result;
    }

    // Sample x of a row at the file's depth (8 or 16), to 8 bits with rounding.
    uint8_t Sample(const uint8_t* row, int x) const {
        if (depth_ == 8) return row[x];
        const unsigned v = (row[2 * x] << 8) | row[2 * x + 1];
        return static_cast<uint8_t>((v * 255 + 32767) / 65535);
    }

    raster::Color ColourAt(const std::array<const uint8_t*, 5>& s, int x) const {
        switch (mode_) {
            case kBitmap: {
                // A set bit is black.
                const bool ink = (s[0][x / 8] >> (7 - x % 8)) & 1;
                return ink ? raster::RGB(0, 0, 0) : raster::RGB(255, 255, 255);
            }
            case kIndexed:
                return palette_[s[0][x]];
            case kRgb:
                return raster::RGB(Sample(s[0], x), Sample(s[1], x), Sample(s[2], x));
            case kCmyk: {
                // Stored as 255 less the ink.
                const unsigned k = Sample(s[3], x);
                auto channel = [&](unsigned v) {
                    return static_cast<uint8_t>((v * k + 127) / 255);
                };
                return raster::RGB(channel(Sample(s[0], x)), channel(Sample(s[1], x)),
                                   channel(Sample(s[2], x)));
            }
            default: {
                const uint8_t v = Sample(s[0], x);
                return raster::RGB(v, v, v);
            }
        }
    }

    std::string fileName_;
    ByteReader in_;
    int width_ = 0, height_ = 0, depth_ = 8;
    uint32_t channels_ = 0, mode_ = kRgb;
    int colourChannels_ = 3;
    bool alphaChannel_ = false;
    size_t rowBytes_ = 0;
    std::array<raster::Color, 256> palette_{};
    std::array<size_t, 5> next_{};  // where each channel's next row starts
    size_t lengths_ = 0;            // the table of run-length row lengths
};

}  // namespace

DecodedImage DecodePsd(const std::string& fileName, const DecodeRequest&) {
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    return PsdFile(fileName, bytes).Decode();
}

}  // namespace imaging
