#include "imaging/HeifDecoder.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/FileBytes.h"
#include "imaging/Orientation.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using ContextPtr = std::unique_ptr<heif_context, ContextFree>;
using HandlePtr = std::unique_ptr<heif_image_handle, HandleRelease>;
using ImagePtr = std::unique_ptr<heif_image, ImageRelease>;
using OptionsPtr = std::unique_ptr<heif_decoding_options, OptionsFree>;

// libheif's limit is a width; the square of it bounds the pixels.
constexpr int kMaxSide = 10000;
static_assert(int64_t{kMaxSide} * kMaxSide <= raster::Bitmap::kMaxPixels);

// ISO boxes: 32-bit size (1: a 64-bit size follows, 0: to the end) and type.
struct Box {
    std::string_view type;
    std::span<const uint8_t> body;
};

// The next box, and 'bytes' moved past it; nullopt at the end, or when the
// box runs past the end of the bytes ('cut' then says so).
std::optional<Box> NextBox(std::span<const uint8_t>& bytes, bool* cut = nullptr) {
    if (bytes.size() < 8) {
        if (cut) *cut = !bytes.empty();
        return std::nullopt;
    }
    uint64_t size = (uint64_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
    size_t header = 8;
    if (size == 1) {
        if (bytes.size() < 16) return std::nullopt;
        size = 0;
        for (int i = 8; i < 16; ++i) size = (size << 8) | bytes[i];
        header = 16;
    } else if (size == 0) {
        size = bytes.size();
    }
    if (size < header || size > bytes.size()) {
        if (cut) *cut = size > bytes.size();
        return std::nullopt;
    }
    Box box{std::string_view(reinterpret_cast<const char*>(bytes.data() + 4), 4),
            bytes.subspan(header, size - header)};
    bytes = bytes.subspan(size);
    return box;
}

// Whether the file's top-level boxes run past its end: a cut-off download
// or copy, whichever box the cut fell in.
bool CutShort(std::span<const uint8_t> file) {
    bool cut = false;
    while (NextBox(file, &cut)) {
    }
    return cut;
}

[[noreturn]] void Fail(const std::string& fileName, std::span<const uint8_t> file,
                       const heif_error& error) {
    const std::string detail = error.message ? error.message : "unknown error";
    if (error.subcode == heif_suberror_End_of_data || CutShort(file))
        throw PictureError(PictureError::Kind::Damaged, fileName,
                           "the picture is damaged: the file ends early (" + detail + ")");
    if (error.code == heif_error_Unsupported_filetype || error.code == heif_error_Invalid_input)
        throw PictureError(PictureError::Kind::Corrupt, fileName, "broken HEIF data: " + detail);
    if (error.code == heif_error_Unsupported_feature ||
        error.code == heif_error_Decoder_plugin_error)
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           "this HEIF picture cannot be decoded here: " + detail);
    if (error.code == heif_error_Memory_allocation_error) throw std::bad_alloc();
    throw PictureError(PictureError::Kind::Corrupt, fileName, "broken HEIF data: " + detail);
}

// Raises the error of a libheif call that failed on 'file'.
class Checker {
public:
    Checker(const std::string& fileName, std::span<const uint8_t> file)
        : fileName_(fileName), file_(file) {}
    void operator()(const heif_error& error) const {
        if (error.code != heif_error_Ok) Fail(fileName_, file_, error);
    }

private:
    const std::string& fileName_;
    std::span<const uint8_t> file_;
};

std::optional<std::span<const uint8_t>> Child(std::span<const uint8_t> bytes,
                                              std::string_view type) {
    while (const auto box = NextBox(bytes))
        if (box->type == type) return box->body;
    return std::nullopt;
}

// Whether the file's item properties hold a rotation or a mirror. Where they
// do, they are the orientation, and an EXIF orientation (which phones also
// write) must not turn the picture a second time.
bool CarriesTransforms(std::span<const uint8_t> file) {
    const auto meta = Child(file, "meta");
    if (!meta || meta->size() < 4) return false;
    const auto iprp = Child(meta->subspan(4), "iprp");  // meta is a full box
    if (!iprp) return false;
    auto ipco = Child(*iprp, "ipco");
    if (!ipco) return false;
    while (const auto box = NextBox(*ipco))
        if (box->type == "irot" || box->type == "imir") return true;
    return false;
}

// The picture's EXIF block with the header a JPEG's segment has in front of
// it ("Exif\0\0"), as libexif reads it; empty when there is none.
std::vector<uint8_t> ExifBlockOf(const heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) != 1) return {};
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size < 4 || size > (size_t{1} << 20)) return {};
    std::vector<uint8_t> block(size);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) return {};
    // The block starts with the offset of the TIFF header instead.
    const uint32_t skip =
        (uint32_t{block[0]} << 24) | (block[1] << 16) | (block[2] << 8) | block[3];
    if (skip > size - 4) return {};
    std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), block.begin() + 4 + skip, block.end());
    return exif;
}

// The smallest thumbnail at least 'target' in both directions with an alpha
// channel when the picture has one, or null.
HandlePtr ThumbnailCovering(const Checker& check, heif_image_handle* primary, Size target) {
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0) return nullptr;
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
    HandlePtr best;
    for (const heif_item_id id : ids) {
        heif_image_handle* raw = nullptr;
        check(heif_image_handle_get_thumbnail(primary, id, &raw));
        HandlePtr thumb(raw);
        const int w = heif_image_handle_get_width(thumb.get());
        const int h = heif_image_handle_get_height(thumb.get());
        if (w < target.width || h < target.height) continue;
        if ((heif_image_handle_has_alpha_channel(thumb.get()) != 0) != alpha) continue;
        if (!best || int64_t{w} * h < int64_t{heif_image_handle_get_width(best.get())} *
                                          heif_image_handle_get_height(best.get()))
            best = std::move(thumb);
    }
    return best;
}

// Samples of 'bits' bits (little-endian 16-bit words) to 8 bits, rounded to
// the nearest: 10-bit 3 is 0.75 and becomes 1, where a shift would give 0.
uint8_t Reduce(const uint8_t* sample, int bits) {
    const unsigned max = (1u << bits) - 1;
    const unsigned value = std::min<unsigned>(max, sample[0] | (sample[1] << 8));
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

DecodedImage ToDecoded(const std::string& fileName, const heif_image* image, bool alpha, int bits) {
    const int w = heif_image_get_width(image, heif_channel_interleaved);
    const int h = heif_image_get_height(image, heif_channel_interleaved);
    if (w <= 0 || h <= 0)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "the decoder produced no picture");
    if (int64_t{w} * h > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           "the picture is above the limit of 100 megapixels");
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!plane)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "the decoder produced no picture");
    const int channels = alpha ? 4 : 3;
    const int bytesPerSample = bits > 8 ? 2 : 1;
    DecodedImage result;
    result.pixels = raster::Bitmap(w, h);
    if (alpha) result.alpha.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    bool opaque = true;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = plane + static_cast<ptrdiff_t>(y) * stride;
        uint8_t* out = result.pixels.row(y);
        uint8_t* a = alpha ? result.alpha.data() + static_cast<size_t>(y) * w : nullptr;
        for (int x = 0; x < w; ++x, in += channels * bytesPerSample, out += 3) {
            uint8_t rgba[4];
            for (int c = 0; c < channels; ++c)
                rgba[c] = bytesPerSample == 1 ? in[c] : Reduce(in + 2 * c, bits);
            out[0] = rgba[2];
            out[1] = rgba[1];
            out[2] = rgba[0];
            if (a) {
                a[x] = rgba[3];
                opaque = opaque && rgba[3] == 255;
            }
        }
    }
    if (opaque) result.alpha.clear();
    return result;
}

}  // namespace

DecodedImage DecodeHeif(const std::string& fileName, const DecodeRequest& request) {
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    const Checker check(fileName, bytes);
    ContextPtr context(heif_context_alloc());
    if (!context) throw std::bad_alloc();
    heif_context_set_maximum_image_size_limit(context.get(), kMaxSide);
    check(heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(),
                                                     nullptr));
    heif_image_handle* raw = nullptr;
    check(heif_context_get_primary_image_handle(context.get(), &raw));
    HandlePtr primary(raw);

    const int exifOrientation =
        CarriesTransforms(bytes) ? 1 : ExifOrientation(ExifBlockOf(primary.get()));
    const int storedW = heif_image_handle_get_width(primary.get());
    const int storedH = heif_image_handle_get_height(primary.get());
    if (storedW <= 0 || storedH <= 0)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "the header gives no picture size");
    if (int64_t{storedW} * storedH > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           std::to_string(storedW) + " x " + std::to_string(storedH) +
                               " pixels is above the limit of 100 megapixels");
    const bool swap = SwapsAxes(exifOrientation);
    const Size natural = swap ? Size{storedH, storedW} : Size{storedW, storedH};

    heif_image_handle* chosen = primary.get();
    HandlePtr thumbnail;
    if (request.reduceTo)
        if (std::optional<Size> target = request.reduceTo(natural)) {
            if (swap) target = Size{target->height, target->width};
            thumbnail = ThumbnailCovering(check, primary.get(), *target);
            if (thumbnail) chosen = thumbnail.get();
        }

    const bool alpha = heif_image_handle_has_alpha_channel(chosen) != 0;
    const int bits = heif_image_handle_get_luma_bits_per_pixel(chosen);
    if (bits < 0 || bits > 16)
        throw PictureError(PictureError::Kind::Corrupt, fileName, "unknown sample depth");
    const heif_chroma chroma =
        bits > 8 ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                 : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    OptionsPtr options(heif_decoding_options_alloc());
    if (!options) throw std::bad_alloc();
    // A cut-off file is refused rather than shown with grey blocks.
    options->strict_decoding = 1;
    heif_image* decodedRaw = nullptr;
    check(heif_decode_image(chosen, &decodedRaw, heif_colorspace_RGB, chroma, options.get()));
    ImagePtr decoded(decodedRaw);
    const int sampleBits =
        bits > 8 ? heif_image_get_bits_per_pixel_range(decoded.get(), heif_channel_interleaved) : 8;
    DecodedImage result = ToDecoded(fileName, decoded.get(), alpha, std::max(8, sampleBits));
    const int w = result.pixels.width(), h = result.pixels.height();
    result.pixels = Reorient(std::move(result.pixels), exifOrientation);
    result.alpha = ReorientPlane(std::move(result.alpha), w, h, exifOrientation);
    result.natural = natural;
    return result;
}

std::vector<uint8_t> HeifExifBlock(std::span<const uint8_t> file) {
    ContextPtr context(heif_context_alloc());
    if (!context) return {};
    heif_context_set_maximum_image_size_limit(context.get(), kMaxSide);
    if (heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr)
            .code != heif_error_Ok)
        return {};
    heif_image_handle* raw = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &raw).code != heif_error_Ok) return {};
    const HandlePtr primary(raw);
    return ExifBlockOf(primary.get());
}

}  // namespace imaging
