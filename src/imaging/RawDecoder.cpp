#include "imaging/RawDecoder.h"

#include <libraw/libraw.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "imaging/FileBytes.h"
#include "imaging/JpegDecoder.h"
#include "imaging/Orientation.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

// LibRaw's flip (bit 0 mirrors left to right, bit 1 top to bottom, bit 2
// swaps the axes first) as an EXIF orientation.
constexpr std::array<int, 8> kOrientationOfFlip = {1, 2, 4, 3, 5, 8, 6, 7};

// A preview whose long side is at least this share of the sensor's is the
// picture at full size (cameras crop a few edge pixels from it).
constexpr double kFullSizeShare = 0.9;

struct ProcessedFree {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};
using ProcessedPtr = std::unique_ptr<libraw_processed_image_t, ProcessedFree>;

class RawFile {
public:
    explicit RawFile(const std::string& fileName)
        : fileName_(fileName), bytes_(ReadFileBytes(fileName)), raw_(std::make_unique<LibRaw>()) {
        // LibRaw's own allocation limit, next to our pixel limit below.
        raw_->imgdata.params.max_raw_memory_mb = 2048;
        Check(raw_->open_buffer(bytes_.data(), bytes_.size()),
              "the file is not a camera RAW file, or holds no picture");
        const libraw_image_sizes_t& sizes = raw_->imgdata.sizes;
        if (int64_t{sizes.raw_width} * sizes.raw_height > raster::Bitmap::kMaxPixels)
            throw PictureError(PictureError::Kind::TooLarge, fileName_,
                               std::to_string(sizes.raw_width) + " x " +
                                   std::to_string(sizes.raw_height) +
                                   " pixels is above the limit of 100 megapixels");
        orientation_ = kOrientationOfFlip[static_cast<size_t>(sizes.flip & 7)];
        natural_ = Upright(Size{sizes.width, sizes.height});
    }

    DecodedImage Decode(const DecodeRequest& request) {
        const std::optional<Size> target =
            request.reduceTo && natural_.width > 0 ? request.reduceTo(natural_) : std::nullopt;
        if (auto preview = Preview(target)) return std::move(*preview);
        return Develop(target);
    }

private:
    Size Upright(Size stored) const {
        return SwapsAxes(orientation_) ? Size{stored.height, stored.width} : stored;
    }

    void Check(int code, const std::string& what) const {
        if (code == LIBRAW_SUCCESS) return;
        if (code == LIBRAW_UNSUFFICIENT_MEMORY) throw std::bad_alloc();
        if (code == LIBRAW_FILE_UNSUPPORTED || code == LIBRAW_IO_ERROR)
            throw PictureError(PictureError::Kind::WrongContent, fileName_, what);
        if (code == LIBRAW_TOO_BIG)
            throw PictureError(PictureError::Kind::TooLarge, fileName_,
                               "the picture is too large to develop");
        throw PictureError(PictureError::Kind::Corrupt, fileName_,
                           what + ": " + libraw_strerror(code));
    }

    // The embedded JPEG when it is the full picture or covers the target.
    std::optional<DecodedImage> Preview(const std::optional<Size>& target) {
        // The kind of preview is known only once it has been read.
        if (raw_->imgdata.thumbnail.twidth == 0 || raw_->unpack_thumb() != LIBRAW_SUCCESS)
            return std::nullopt;
        const libraw_thumbnail_t& thumb = raw_->imgdata.thumbnail;
        if (thumb.tformat != LIBRAW_THUMBNAIL_JPEG || !thumb.thumb || thumb.tlength == 0)
            return std::nullopt;
        const Size stored{thumb.twidth, thumb.theight};
        const Size upright = Upright(stored);
        const bool fullSize = std::max(upright.width, upright.height) >=
                              kFullSizeShare * std::max(natural_.width, natural_.height);
        const bool covers =
            target && upright.width >= target->width && upright.height >= target->height;
        if (!fullSize && !covers) return std::nullopt;
        DecodeRequest request;
        if (target) {
            const Size stored =
                SwapsAxes(orientation_) ? Size{target->height, target->width} : *target;
            request.reduceTo = [stored](Size) { return std::optional<Size>(stored); };
        }
        const std::span<const uint8_t> jpeg(reinterpret_cast<const uint8_t*>(thumb.thumb),
                                            thumb.tlength);
        DecodedImage image;
        try {
            image = DecodeJpegBytes(fileName_, jpeg, request, false);
        } catch (const PictureError&) {
            return std::nullopt;  // a broken preview: the sensor data may still be fine
        }
        image.pixels = Reorient(std::move(image.pixels), orientation_);
        // A full-size preview is the picture; a smaller one stands in for the
        // sensor's size, as a reduced decode does.
        image.natural = fullSize ? Upright(image.natural) : natural_;
        return image;
    }

    DecodedImage Develop(const std::optional<Size>& target) {
        libraw_output_params_t& params = raw_->imgdata.params;
        params.output_bps = 8;
        params.use_camera_wb = 1;
        params.half_size =
            target && 2 * target->width <= natural_.width && 2 * target->height <= natural_.height
                ? 1
                : 0;
        Check(raw_->unpack(), "the file holds no readable picture");
        Check(raw_->dcraw_process(), "the picture cannot be developed");
        int code = LIBRAW_SUCCESS;
        ProcessedPtr image(raw_->dcraw_make_mem_image(&code));
        Check(code, "the picture cannot be developed");
        if (!image || image->type != LIBRAW_IMAGE_BITMAP || image->colors != 3 ||
            image->bits != 8 || image->width == 0 || image->height == 0)
            throw PictureError(PictureError::Kind::Corrupt, fileName_,
                               "the file holds no readable picture");
        DecodedImage result;
        result.natural = natural_;
        result.pixels = raster::Bitmap(image->width, image->height);
        const uint8_t* in = image->data;
        for (int y = 0; y < image->height; ++y) {
            uint8_t* out = result.pixels.row(y);
            for (int x = 0; x < image->width; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
        if (!params.half_size) result.natural = Size{image->width, image->height};
        return result;
    }

    std::string fileName_;
    std::vector<uint8_t> bytes_;
    std::unique_ptr<LibRaw> raw_;
    int orientation_ = 1;
    Size natural_;
};

}  // namespace

DecodedImage DecodeRaw(const std::string& fileName, const DecodeRequest& request) {
    return RawFile(fileName).Decode(request);
}

}  // namespace imaging
