// Sample files of today's picture formats, made at test time: HEIF and AVIF
// through libheif's encoders (x265, aom), minimal DNG files written byte by
// byte (a linear RGB sensor image, with or without an embedded JPEG
// preview), and whatever ImageMagick's convert and the WebP tools write.
#pragma once

#include <libheif/heif.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/Bitmap.h"

namespace testpictures {

using Bytes = std::vector<uint8_t>;

// Runs a command line through the shell; false when it fails.
inline bool RunTool(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct HeifSample {
    bool avif = false;
    // Written as the file's rotation and mirror transforms (irot, imir).
    heif_orientation transform = heif_orientation_normal;
    int exifOrientation = 0;  // an EXIF block with this tag, 0 for none
    int bits = 8;             // 8, or 10 for 'samples10'
    // With bits 10: the samples of every pixel, 0..1023, given per pixel as
    // one grey value (the picture is grey). Otherwise unused.
    std::vector<uint16_t> grey10;
    std::vector<uint8_t> alpha;  // a byte per pixel, or empty
    bool lossless = false;
    int thumbnailBox = 0;  // a thumbnail fitting this box, 0 for none
};

// The picture encoded as HEIC or AVIF with libheif.
inline Bytes EncodeHeif(const raster::Bitmap& picture, const HeifSample& sample) {
    struct Free {
        void operator()(heif_context* c) const { heif_context_free(c); }
        void operator()(heif_encoder* e) const { heif_encoder_release(e); }
        void operator()(heif_image* i) const { heif_image_release(i); }
        void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
        void operator()(heif_encoding_options* o) const { heif_encoding_options_free(o); }
    };
    auto ok = [](heif_error e) {
        if (e.code != heif_error_Ok) throw std::runtime_error(e.message);
    };
    const int w = picture.width(), h = picture.height();
    std::unique_ptr<heif_context, Free> ctx(heif_context_alloc());
    heif_encoder* rawEncoder = nullptr;
    ok(heif_context_get_encoder_for_format(
        ctx.get(), sample.avif ? heif_compression_AV1 : heif_compression_HEVC, &rawEncoder));
    std::unique_ptr<heif_encoder, Free> encoder(rawEncoder);
    if (sample.lossless) {
        ok(heif_encoder_set_lossless(encoder.get(), 1));
        ok(heif_encoder_set_parameter(encoder.get(), "chroma", "444"));
    } else {
        ok(heif_encoder_set_lossy_quality(encoder.get(), 90));
    }
    heif_image* rawImage = nullptr;
    const bool alpha = !sample.alpha.empty();
    const bool deep = sample.bits > 8;
    const heif_chroma chroma =
        deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
             : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    ok(heif_image_create(w, h, heif_colorspace_RGB, chroma, &rawImage));
    std::unique_ptr<heif_image, Free> image(rawImage);
    ok(heif_image_add_plane(image.get(), heif_channel_interleaved, w, h, sample.bits));
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const raster::Color c = picture.pixel(x, y);
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            const uint16_t a = alpha ? sample.alpha[i] : 255;
            const uint16_t rgba[4] = {raster::RedOf(c), raster::GreenOf(c), raster::BlueOf(c), a};
            uint8_t* p = plane + ptrdiff_t(y) * stride + ptrdiff_t(x) * channels * (deep ? 2 : 1);
            for (int ch = 0; ch < channels; ++ch) {
                if (!deep) {
                    p[ch] = uint8_t(rgba[ch]);
                    continue;
                }
                const uint16_t v = ch == 3 ? uint16_t(rgba[3] * 1023 / 255) : sample.grey10[i];
                p[2 * ch] = uint8_t(v);
                p[2 * ch + 1] = uint8_t(v >> 8);
            }
        }
    std::unique_ptr<heif_encoding_options, Free> options(heif_encoding_options_alloc());
    options->image_orientation = sample.transform;
    if (sample.lossless) {
        // RGB kept as RGB, so no colour conversion rounds the samples.
        heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
        nclx->matrix_coefficients = heif_matrix_coefficients_RGB_GBR;
        nclx->full_range_flag = 1;
        options->output_nclx_profile = nclx;
    }
    heif_image_handle* rawHandle = nullptr;
    const heif_error encoded =
        heif_context_encode_image(ctx.get(), image.get(), encoder.get(), options.get(), &rawHandle);
    if (options->output_nclx_profile) heif_nclx_color_profile_free(options->output_nclx_profile);
    ok(encoded);
    std::unique_ptr<heif_image_handle, Free> handle(rawHandle);
    if (sample.thumbnailBox > 0)
        ok(heif_context_encode_thumbnail(ctx.get(), image.get(), handle.get(), encoder.get(),
                                         options.get(), sample.thumbnailBox, nullptr));
    if (sample.exifOrientation > 0) {
        // A big-endian TIFF header with one IFD holding the Orientation tag,
        // after the four-byte offset HEIF puts in front of it.
        const Bytes exif = {0, 0, 0, 0, 'M', 'M', 0,    42,
                            0, 0, 0, 8, 0,   1,   0x01, 0x12,
                            0, 3, 0, 0, 0,   1,   0,    uint8_t(sample.exifOrientation),
                            0, 0, 0, 0, 0,   0,   0,    0};
        ok(heif_context_add_exif_metadata(ctx.get(), handle.get(), exif.data(),
                                          static_cast<int>(exif.size())));
    }
    Bytes out;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = [](heif_context*, const void* data, size_t size, void* userdata) {
        auto* bytes = static_cast<Bytes*>(userdata);
        bytes->insert(bytes->end(), static_cast<const uint8_t*>(data),
                      static_cast<const uint8_t*>(data) + size);
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
    };
    ok(heif_context_write(ctx.get(), &writer, &out));
    return out;
}

// A little-endian TIFF built IFD by IFD, for DNG files.
class TiffWriter {
public:
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        Bytes data;  // the value, already in file order
    };
    static Entry Short(uint16_t tag, std::vector<uint16_t> values) {
        Bytes d;
        for (uint16_t v : values) d.insert(d.end(), {uint8_t(v), uint8_t(v >> 8)});
        return {tag, 3, uint32_t(values.size()), d};
    }
    static Entry Long(uint16_t tag, std::vector<uint32_t> values) {
        Bytes d;
        for (uint32_t v : values)
            d.insert(d.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
        return {tag, 4, uint32_t(values.size()), d};
    }
    static Entry Ascii(uint16_t tag, const std::string& text) {
        Bytes d(text.begin(), text.end());
        d.push_back(0);
        return {tag, 2, uint32_t(d.size()), d};
    }
    static Entry Byte(uint16_t tag, Bytes values) {
        return {tag, 1, uint32_t(values.size()), values};
    }
    // Signed rationals n/d.
    static Entry SRational(uint16_t tag, std::vector<int32_t> numerators, int32_t denominator) {
        Bytes d;
        for (int32_t n : numerators)
            for (uint32_t v : {uint32_t(n), uint32_t(denominator)})
                d.insert(d.end(),
                         {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
        return {tag, 10, uint32_t(numerators.size()), d};
    }
};

struct DngSample {
    // The sensor image: linear RGB, 16 bits a sample.
    raster::Bitmap sensor;
    // An embedded preview (JPEG bytes) and its size; empty for none.
    Bytes previewJpeg;
    int previewWidth = 0, previewHeight = 0;
    int orientation = 1;  // EXIF values
};

// A DNG file: IFD 0 is the preview (or the sensor image when there is no
// preview), the sensor image otherwise in a sub-IFD.
inline Bytes MakeDng(const DngSample& sample) {
    using T = TiffWriter;
    const int w = sample.sensor.width(), h = sample.sensor.height();
    Bytes sensorData;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const raster::Color c = sample.sensor.pixel(x, y);
            for (uint8_t v : {raster::RedOf(c), raster::GreenOf(c), raster::BlueOf(c)}) {
                const uint16_t s = uint16_t(v * 257);
                sensorData.insert(sensorData.end(), {uint8_t(s), uint8_t(s >> 8)});
            }
        }
    auto sensorEntries = [&](uint32_t dataOffset) {
        return std::vector<T::Entry>{
            T::Long(254, {0}),           T::Long(256, {uint32_t(w)}),
            T::Long(257, {uint32_t(h)}), T::Short(258, {16, 16, 16}),
            T::Short(259, {1}),          T::Short(262, {34892}),  // linear raw
            T::Long(273, {dataOffset}),  T::Short(277, {3}),
            T::Long(278, {uint32_t(h)}), T::Long(279, {uint32_t(sensorData.size())}),
            T::Short(284, {1}),          T::Long(50717, {65535}),  // white level
        };
    };
    auto common = [&](std::vector<T::Entry> entries) {
        entries.push_back(T::Ascii(271, "Vanto"));
        entries.push_back(T::Ascii(272, "Test Camera"));
        entries.push_back(T::Short(274, {uint16_t(sample.orientation)}));
        entries.push_back(T::Byte(50706, {1, 4, 0, 0}));  // DNG version
        entries.push_back(T::Ascii(50708, "Vanto Test Camera"));
        entries.push_back(T::SRational(50721, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 1));  // colour matrix
        entries.push_back(T::Short(50778, {21}));                                // D65
        return entries;
    };

    // Layout: header, then each IFD followed by its out-of-line values, then
    // the pixel data. Offsets are fixed up in a second pass, so the IFDs are
    // written twice.
    Bytes out;
    auto put16 = [&](uint16_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto put32 = [&](uint32_t v) {
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    };
    auto writeIfd = [&](std::vector<T::Entry> entries) {
        std::sort(entries.begin(), entries.end(),
                  [](const T::Entry& a, const T::Entry& b) { return a.tag < b.tag; });
        const size_t start = out.size();
        size_t extra = start + 2 + 12 * entries.size() + 4;
        Bytes tail;
        put16(uint16_t(entries.size()));
        for (const T::Entry& e : entries) {
            put16(e.tag);
            put16(e.type);
            put32(e.count);
            if (e.data.size() <= 4) {
                Bytes value = e.data;
                value.resize(4, 0);
                out.insert(out.end(), value.begin(), value.end());
            } else {
                put32(uint32_t(extra + tail.size()));
                tail.insert(tail.end(), e.data.begin(), e.data.end());
                if (tail.size() % 2) tail.push_back(0);
            }
        }
        put32(0);
        out.insert(out.end(), tail.begin(), tail.end());
    };
    auto build = [&](uint32_t sensorIfd, uint32_t previewAt, uint32_t sensorAt) {
        out.assign({'I', 'I', 42, 0, 8, 0, 0, 0});
        uint32_t subIfd = 0;
        if (sample.previewJpeg.empty()) {
            writeIfd(common(sensorEntries(sensorAt)));
        } else {
            writeIfd(common({
                T::Long(254, {1}),
                T::Long(256, {uint32_t(sample.previewWidth)}),
                T::Long(257, {uint32_t(sample.previewHeight)}),
                T::Short(258, {8, 8, 8}),
                T::Short(259, {7}),
                T::Short(262, {6}),
                T::Long(273, {previewAt}),
                T::Short(277, {3}),
                T::Long(278, {uint32_t(sample.previewHeight)}),
                T::Long(279, {uint32_t(sample.previewJpeg.size())}),
                T::Long(330, {sensorIfd}),
            }));
            subIfd = uint32_t(out.size());
            writeIfd(sensorEntries(sensorAt));
        }
        const uint32_t preview = uint32_t(out.size());
        out.insert(out.end(), sample.previewJpeg.begin(), sample.previewJpeg.end());
        if (out.size() % 2) out.push_back(0);
        const uint32_t sensor = uint32_t(out.size());
        out.insert(out.end(), sensorData.begin(), sensorData.end());
        return std::array<uint32_t, 3>{subIfd, preview, sensor};
    };
    const auto offsets = build(0, 0, 0);
    build(offsets[0], offsets[1], offsets[2]);
    return out;
}

}  // namespace testpictures
