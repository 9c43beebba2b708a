#include "imaging/PictureLoader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Swallow.h"
#include "imaging/DecoderRegistry.h"
#include "imaging/FitArithmetic.h"
#include "imaging/PictureError.h"
#include "raster/Blit.h"

namespace imaging {

namespace {

bool IsJpegExtension(const std::string& extension) {
    return extension == ".JPG" || extension == ".JPEG";
}

}  // namespace

bool FlattensOnLoad(const std::string& upperExtension) {
    return !IsJpegExtension(upperExtension) && upperExtension != ".BMP";
}

raster::Bitmap Flatten(DecodedImage image, raster::Color fill) {
    if (image.alpha.empty()) return std::move(image.pixels);
    raster::Bitmap& out = image.pixels;
    const unsigned fillRgb[3] = {raster::BlueOf(fill), raster::GreenOf(fill), raster::RedOf(fill)};
    const size_t width = static_cast<size_t>(out.width());
    for (int y = 0; y < out.height(); ++y) {
        uint8_t* p = out.row(y);
        const uint8_t* alpha = image.alpha.data() + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x, p += 3) {
            const unsigned a = alpha[x];
            if (a == 255) continue;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>((p[c] * a + fillRgb[c] * (255 - a) + 127) / 255);
        }
    }
    return std::move(image.pixels);
}

void LayOver(raster::Bitmap& target, int x, int y, const raster::Bitmap& premultiplied,
             const raster::Bitmap& opacity) {
    if (opacity.width() != premultiplied.width() || opacity.height() != premultiplied.height())
        return;
    const int x0 = std::max(0, -x), x1 = std::min(premultiplied.width(), target.width() - x);
    const int y0 = std::max(0, -y), y1 = std::min(premultiplied.height(), target.height() - y);
    for (int row = y0; row < y1; ++row) {
        uint8_t* out = target.row(y + row) + 3 * static_cast<ptrdiff_t>(x + x0);
        const uint8_t* in = premultiplied.row(row) + 3 * static_cast<ptrdiff_t>(x0);
        const uint8_t* alpha = opacity.row(row) + 3 * static_cast<ptrdiff_t>(x0);
        for (int i = 0; i < 3 * (x1 - x0); ++i) {
            const unsigned under = out[i] * (255u - alpha[i]) + 127u;
            out[i] = static_cast<uint8_t>(std::min(255u, in[i] + under / 255u));
        }
    }
}

raster::Bitmap OpacityOf(const DecodedImage& image) {
    const bool opaque =
        std::all_of(image.alpha.begin(), image.alpha.end(), [](uint8_t a) { return a == 255; });
    if (opaque) return {};
    raster::Bitmap opacity(image.pixels.width(), image.pixels.height());
    const size_t width = static_cast<size_t>(opacity.width());
    for (int y = 0; y < opacity.height(); ++y) {
        uint8_t* p = opacity.row(y);
        const uint8_t* alpha = image.alpha.data() + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x, p += 3) p[0] = p[1] = p[2] = alpha[x];
    }
    return opacity;
}

std::optional<LoadedPicture> LoadByContent(const std::string& fileName, raster::Color fill,
                                           const DecodeRequest& request) {
    if (IsJpegExtension(UpperExtension(fileName))) {
        std::error_code error;
        if (!std::filesystem::exists(fileName, error)) return std::nullopt;
    }
    const DecoderInfo& decoder = ChooseDecoder(fileName);
    DecodedImage image = decoder.decode(fileName, request);
    const Size natural = image.natural;
    if (!FlattensOnLoad(std::string(decoder.extension)))
        return LoadedPicture{std::move(image.pixels), natural, {}};
    raster::Bitmap opacity = OpacityOf(image);
    return LoadedPicture{Flatten(std::move(image), fill), natural, std::move(opacity)};
}

void LoadPictureFile(raster::Bitmap& APicture, const std::string& FileName, raster::Color fill) {
    if (auto loaded = LoadByContent(FileName, fill)) APicture = std::move(loaded->bitmap);
}

namespace {

// The picture shrunk into the box; an empty bitmap for a missing JPEG.
raster::Bitmap ShrunkPicture(const std::string& fileName, int maxWidth, int maxHeight,
                             raster::Color fill) {
    DecodeRequest request;
    request.reduceTo = [maxWidth, maxHeight](Size natural) {
        return ShrinkIntoBox(natural, maxWidth, maxHeight);
    };
    // Only previews shrink pictures: a camera's own thumbnail will do for them.
    request.embeddedThumbnail = true;
    raster::Bitmap picture;
    Size natural;
    if (auto loaded = LoadByContent(fileName, fill, request)) {
        picture = std::move(loaded->bitmap);
        natural = loaded->natural;
    }
    // The box arithmetic works on the size in the file, whatever scale
    // the decoder chose.
    if (const auto box = ShrinkIntoBox(natural, maxWidth, maxHeight)) {
        raster::Bitmap scaled(box->width, box->height);
        raster::StretchDraw(scaled, scaled.bounds(), picture, raster::StretchMode::Halftone);
        picture = std::move(scaled);
    }
    return picture;
}

}  // namespace

void LoadPictureScaled(raster::Bitmap& Target, const std::string& FileName, int MaxWidth,
                       int MaxHeight, raster::Color BackColor) noexcept {
    if (FileName.empty()) return;
    // Previews show nothing new for a picture that cannot be loaded.
    base::Swallow("imaging::LoadPictureScaled",
                  [&] { Target = ShrunkPicture(FileName, MaxWidth, MaxHeight, BackColor); });
}

raster::Bitmap LoadPictureShrunk(const std::string& fileName, int maxWidth, int maxHeight,
                                 raster::Color fill) {
    raster::Bitmap picture = ShrunkPicture(fileName, maxWidth, maxHeight, fill);
    if (picture.isEmpty())
        throw PictureError(PictureError::Kind::NotFound, fileName, "the file does not exist");
    return picture;
}

SourcePicture LoadSourcePicture(const std::string& fileName, std::optional<Size> fitFrame,
                                raster::Color backColor) {
    DecodeRequest request;
    if (fitFrame && fitFrame->width > 0 && fitFrame->height > 0) {
        request.reduceTo = [frame = *fitFrame](Size natural) -> std::optional<Size> {
            const Size fit = FitInsideFrame(natural, frame);
            if (fit.width >= natural.width || fit.height >= natural.height) return std::nullopt;
            return fit;
        };
    }
    auto loaded = LoadByContent(fileName, backColor, request);
    if (!loaded)
        throw PictureError(PictureError::Kind::NotFound, fileName, "the file does not exist");
    return SourcePicture{std::move(loaded->bitmap), loaded->natural, std::move(loaded->opacity)};
}

}  // namespace imaging
