#include "imaging/JpegDecoder.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "imaging/FileBytes.h"
#include "imaging/Orientation.h"
#include "imaging/PictureError.h"
#include "imaging/PictureFacts.h"

namespace imaging {

namespace {

// Progressive files may hold any number of scans, each a pass over the whole
// picture; more than this is a hostile file, not a photo.
constexpr int kMaxProgressiveScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int code = 0;
    char damage[JMSG_LENGTH_MAX];  // the first warning that pixels are missing or wrong
};

// Warnings after which part of the picture is made up (libjpeg fills what
// it could not decode with grey). Other warnings, such as stray bytes
// between segments or a newer JFIF version, leave every pixel as stored.
constexpr int kDamageWarnings[] = {JWRN_JPEG_EOF, JWRN_HIT_MARKER, JWRN_HUFF_BAD_CODE,
                                   JWRN_MUST_RESYNC};

void OnFatalError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = cinfo->err->msg_code;
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

// Warnings are counted; the first one that means missing or corrupt data is
// kept, and the picture is refused as damaged once it has been read.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    ++cinfo->err->num_warnings;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (err->damage[0] != '\0') return;
    for (int code : kDamageWarnings)
        if (cinfo->err->msg_code == code) (*cinfo->err->format_message)(cinfo, err->damage);
}

void OnProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->progressive_mode && d->input_scan_number > kMaxProgressiveScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        err->code = -1;
        std::snprintf(err->message, sizeof err->message, "more than %d progressive scans",
                      kMaxProgressiveScans);
        longjmp(err->jump, 1);
    }
}

// Runs one step of libjpeg calls; false when libjpeg reported a fatal error.
// Nothing with a destructor may live inside a step: a fatal error jumps out.
template <typename Step>
bool Guarded(ErrorManager& err, Step&& step) {
    if (setjmp(err.jump)) return false;
    step();
    return true;
}

// The EXIF block among the saved markers; empty when there is none.
std::span<const uint8_t> ExifMarker(jpeg_saved_marker_ptr markers) {
    for (jpeg_saved_marker_ptr m = markers; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return {m->data, m->data_length};
    return {};
}

// How much a thumbnail's shape may differ from the picture's: cameras that
// letterbox a 3:2 picture into a 4:3 thumbnail differ by far more.
constexpr double kThumbnailShapeSlack = 0.02;

class JpegReader {
public:
    // From memory rather than through stdio: libjpeg-turbo's fast Huffman
    // path needs several kilobytes of input at hand, which the 4 KB stdio
    // buffer often lacks, and a photo's entropy decoding dominates.
    JpegReader(const std::string& fileName, std::span<const uint8_t> bytes, bool applyExif)
        : fileName_(fileName), bytes_(bytes), applyExif_(applyExif) {
        cinfo_.err = jpeg_std_error(&err_.pub);
        err_.pub.error_exit = OnFatalError;
        err_.pub.emit_message = OnMessage;
        progress_.progress_monitor = OnProgress;
    }
    ~JpegReader() {
        if (created_) jpeg_destroy_decompress(&cinfo_);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    DecodedImage decode(const DecodeRequest& request) {
        run([this] {
            created_ = true;
            jpeg_create_decompress(&cinfo_);
            cinfo_.progress = &progress_;
            jpeg_mem_src(&cinfo_, bytes_.data(), static_cast<unsigned long>(bytes_.size()));
            jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
            jpeg_read_header(&cinfo_, TRUE);
        });
        const int64_t storedWidth = cinfo_.image_width, storedHeight = cinfo_.image_height;
        if (storedWidth * storedHeight > raster::Bitmap::kMaxPixels)
            throw PictureError(PictureError::Kind::TooLarge, fileName_,
                               std::to_string(storedWidth) + " x " + std::to_string(storedHeight) +
                                   " pixels is above the limit of 100 megapixels");

        const int orientation = applyExif_ ? ExifOrientation(ExifMarker(cinfo_.marker_list)) : 1;
        const bool swap = SwapsAxes(orientation);
        DecodedImage result;
        result.natural = swap ? Size{static_cast<int>(storedHeight), static_cast<int>(storedWidth)}
                              : Size{static_cast<int>(storedWidth), static_cast<int>(storedHeight)};
        std::optional<Size> target =
            request.reduceTo ? request.reduceTo(result.natural) : std::nullopt;
        if (target && swap) target = Size{target->height, target->width};
        if (request.embeddedThumbnail && target)
            if (std::optional<raster::Bitmap> small = embeddedThumbnail(*target)) {
                result.pixels = Reorient(std::move(*small), orientation);
                return result;
            }

        const bool cmyk =
            cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK;
        run([&] {
            cinfo_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
            chooseScale(target);
        });
        run([this] { jpeg_start_decompress(&cinfo_); });

        // Every scanline is read into it (a damaged one too, before that
        // is reported), so it is not cleared first.
        raster::Bitmap stored = raster::Bitmap::Unfilled(static_cast<int>(cinfo_.output_width),
                                                         static_cast<int>(cinfo_.output_height));
        std::vector<uint8_t> cmykRow(cmyk ? static_cast<size_t>(cinfo_.output_width) * 4 : 0);
        run([&] { readScanlines(stored, cmyk ? cmykRow.data() : nullptr); });
        if (err_.damage[0] != '\0')
            throw PictureError(PictureError::Kind::Damaged, fileName_,
                               std::string("the picture is damaged: ") + err_.damage);
        result.pixels = Reorient(std::move(stored), orientation);
        return result;
    }

private:
    // The EXIF thumbnail when it covers 'target' (as stored, not upright)
    // and has the picture's shape. One that does not decode is passed over:
    // the picture itself is decoded instead, and says what is wrong with it.
    std::optional<raster::Bitmap> embeddedThumbnail(Size target) const {
        const std::vector<uint8_t> bytes = ExifThumbnail(ExifMarker(cinfo_.marker_list));
        if (bytes.empty()) return std::nullopt;
        DecodedImage small;
        try {
            small = DecodeJpegBytes(fileName_, bytes, {}, false);
        } catch (const PictureError&) {
            return std::nullopt;
        }
        const double width = small.pixels.width(), height = small.pixels.height();
        if (width < target.width || height < target.height) return std::nullopt;
        const double stored = double(cinfo_.image_width) / cinfo_.image_height;
        if (std::abs(width / height - stored) > kThumbnailShapeSlack * stored) return std::nullopt;
        return std::move(small.pixels);
    }

    template <typename Step>
    void run(Step&& step) {
        if (Guarded(err_, step)) return;
        if (err_.code == JERR_NO_SOI)
            throw PictureError(PictureError::Kind::WrongContent, fileName_,
                               "the content is not in JPEG format");
        if (err_.code == JERR_INPUT_EMPTY)
            throw PictureError(PictureError::Kind::Empty, fileName_, "the file is empty");
        throw PictureError(PictureError::Kind::Corrupt, fileName_,
                           std::string("broken JPEG data: ") + err_.message);
    }

    // The smallest scale whose output still covers the target.
    void chooseScale(const std::optional<Size>& target) {
        cinfo_.scale_denom = 8;
        cinfo_.scale_num = 8;
        if (!target) return;
        for (unsigned m = 1; m < 8; ++m) {
            cinfo_.scale_num = m;
            jpeg_calc_output_dimensions(&cinfo_);
            if (static_cast<int64_t>(cinfo_.output_width) >= target->width &&
                static_cast<int64_t>(cinfo_.output_height) >= target->height)
                return;
        }
        cinfo_.scale_num = 8;
    }

    void readScanlines(raster::Bitmap& out, uint8_t* cmykRow) {
        // Adobe writes CMYK inverted; plain CMYK stores ink amounts.
        const bool inverted = cinfo_.saw_Adobe_marker;
        while (cinfo_.output_scanline < cinfo_.output_height) {
            const int y = static_cast<int>(cinfo_.output_scanline);
            if (!cmykRow) {
                // Several rows a call spare libjpeg copying through its own
                // buffer when it upsamples two rows at once.
                JSAMPROW rows[8];
                const int count = std::min(8, static_cast<int>(cinfo_.output_height) - y);
                for (int i = 0; i < count; ++i) rows[i] = out.row(y + i);
                jpeg_read_scanlines(&cinfo_, rows, static_cast<JDIMENSION>(count));
                continue;
            }
            JSAMPROW row = cmykRow;
            jpeg_read_scanlines(&cinfo_, &row, 1);
            uint8_t* dst = out.row(y);
            for (unsigned x = 0; x < cinfo_.output_width; ++x, dst += 3) {
                const uint8_t* p = cmykRow + 4 * x;
                const unsigned c = inverted ? p[0] : 255 - p[0], m = inverted ? p[1] : 255 - p[1];
                const unsigned yl = inverted ? p[2] : 255 - p[2], k = inverted ? p[3] : 255 - p[3];
                dst[0] = static_cast<uint8_t>((yl * k + 127) / 255);
                dst[1] = static_cast<uint8_t>((m * k + 127) / 255);
                dst[2] = static_cast<uint8_t>((c * k + 127) / 255);
            }
        }
    }

    std::string fileName_;
    std::span<const uint8_t> bytes_;
    bool applyExif_;
    bool created_ = false;
    jpeg_decompress_struct cinfo_{};
    ErrorManager err_{};
    jpeg_progress_mgr progress_{};
};

}  // namespace

DecodedImage DecodeJpeg(const std::string& fileName, const DecodeRequest& request) {
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    return DecodeJpegBytes(fileName, bytes, request, true);
}

DecodedImage DecodeJpegBytes(const std::string& fileName, std::span<const uint8_t> bytes,
                             const DecodeRequest& request, bool applyExifOrientation) {
    JpegReader reader(fileName, bytes, applyExifOrientation);
    return reader.decode(request);
}

}  // namespace imaging
