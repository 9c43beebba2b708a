#include "imaging/PcxReader.h"

#include <algorithm>
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileBytes.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

constexpr size_t kHeaderBytes = 128;
// The 256-colour table: a marker byte and 256 RGB triples at the very end.
constexpr size_t kPaletteBytes = 1 + 768;
constexpr uint8_t kPaletteMarker = 0x0C;

struct PcxHeader {
    int width, height, planes;
    size_t bytesPerLine;  // of one plane
};

PcxHeader ReadHeader(const std::string& fileName, std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    in.Skip(4);
    const auto xmin = in.Le16(), ymin = in.Le16(), xmax = in.Le16(), ymax = in.Le16();
    in.Skip(65 - in.Offset());
    const auto planes = in.Byte();
    const auto bytesPerLine = in.Le16();
    if (!bytesPerLine)
        throw PictureError(PictureError::Kind::Damaged, fileName,
                           "the picture is damaged: the file ends inside its header");
    if (*xmax < *xmin || *ymax < *ymin)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "broken PCX data: the header gives no picture size");
    const int64_t width = int64_t{*xmax} - *xmin + 1, height = int64_t{*ymax} - *ymin + 1;
    if (width * height > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           std::to_string(width) + " x " + std::to_string(height) +
                               " pixels is above the limit of 100 megapixels");
    if (*bytesPerLine < width)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "broken PCX data: the lines are shorter than the picture is wide");
    return {static_cast<int>(width), static_cast<int>(height), *planes, *bytesPerLine};
}

}  // namespace

bool IsPcxOfByteSamples(std::span<const uint8_t> header) {
    if (header.size() < kHeaderBytes || header[0] != 0x0A || header[2] != 1 || header[3] != 8)
        return false;
    const uint8_t planes = header[65];
    return planes == 1 || planes == 3 || planes == 4;
}

DecodedImage DecodePcx(const std::string& fileName, const DecodeRequest&) {
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    if (!IsPcxOfByteSamples(bytes))
        throw PictureError(PictureError::Kind::WrongContent, fileName,
                           "the content is not a PCX picture of 8-bit planes");
    const PcxHeader header = ReadHeader(fileName, bytes);
    std::span<const uint8_t> data = std::span<const uint8_t>(bytes).subspan(kHeaderBytes);
    std::span<const uint8_t> palette;
    if (header.planes == 1) {
        if (bytes.size() < kHeaderBytes + kPaletteBytes ||
            bytes[bytes.size() - kPaletteBytes] != kPaletteMarker)
            throw PictureError(PictureError::Kind::Damaged, fileName,
                               "the picture is damaged: its colour table is missing");
        palette = std::span<const uint8_t>(bytes).last(768);
        data = data.first(data.size() - kPaletteBytes);
    }

    DecodedImage result;
    result.natural = Size{header.width, header.height};
    result.pixels = raster::Bitmap(header.width, header.height);
    if (header.planes == 4) result.alpha.resize(static_cast<size_t>(header.width) * header.height);
    // A run may carry on from one line into the next, so the whole picture
    // is one stream.
    std::vector<uint8_t> line(header.bytesPerLine * static_cast<size_t>(header.planes));
    ByteReader in(data);
    uint8_t run = 0, value = 0;
    for (int y = 0; y < header.height; ++y) {
        for (uint8_t& out : line) {
            // A run of zero bytes says nothing; the next byte follows.
            while (run == 0) {
                const auto b = in.Byte();
                if (!b)
                    throw PictureError(PictureError::Kind::Damaged, fileName,
                                       "the picture is damaged: the file ends before line " +
                                           std::to_string(y + 1));
                run = 1;
                value = *b;
                if ((*b & 0xC0) != 0xC0) break;
                run = *b & 0x3F;
                const auto v = in.Byte();
                if (!v)
                    throw PictureError(PictureError::Kind::Damaged, fileName,
                                       "the picture is damaged: the file ends inside a run");
                value = *v;
            }
            out = value;
            --run;
        }
        uint8_t* out = result.pixels.row(y);
        const size_t stride = header.bytesPerLine;
        for (int x = 0; x < header.width; ++x, out += 3) {
            if (header.planes == 1) {
                const uint8_t* rgb = palette.data() + 3 * line[static_cast<size_t>(x)];
                out[0] = rgb[2];
                out[1] = rgb[1];
                out[2] = rgb[0];
                continue;
            }
            out[2] = line[static_cast<size_t>(x)];
            out[1] = line[stride + static_cast<size_t>(x)];
            out[0] = line[2 * stride + static_cast<size_t>(x)];
            if (header.planes == 4)
                result.alpha[static_cast<size_t>(y) * header.width + x] =
                    line[3 * stride + static_cast<size_t>(x)];
        }
    }
    // Opacity that hides the whole picture is a fourth plane left unused.
    const auto all = [&](uint8_t a) {
        return std::all_of(result.alpha.begin(), result.alpha.end(),
                           [a](uint8_t v) { return v == a; });
    };
    if (all(255) || all(0)) result.alpha.clear();
    return result;
}

}  // namespace imaging
