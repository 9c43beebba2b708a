// Pictures made in code for the imaging tests and benchmarks: a photo-like
// pattern and a JPEG writer over libjpeg.
#pragma once

#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

#include "raster/Bitmap.h"

namespace imaging::testing {

// Smooth gradients, soft blobs, some texture and a little grain: compresses
// and scales like a photograph, unlike flat test cards.
inline raster::Bitmap PhotoLike(int width, int height, uint32_t seed = 1) {
    raster::Bitmap out(width, height);
    std::vector<float> colWave(static_cast<size_t>(width)), rowWave(static_cast<size_t>(height));
    for (int x = 0; x < width; ++x)
        colWave[static_cast<size_t>(x)] =
            static_cast<float>(40 * std::sin(x * 6.0 / width + seed) + 12 * std::sin(x * 0.21));
    for (int y = 0; y < height; ++y)
        rowWave[static_cast<size_t>(y)] =
            static_cast<float>(35 * std::cos(y * 5.0 / height + seed) + 10 * std::sin(y * 0.17));
    uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = out.row(y);
        const float sky = 200.0f * (1.0f - static_cast<float>(y) / static_cast<float>(height));
        for (int x = 0; x < width; ++x, p += 3) {
            state = state * 1664525u + 1013904223u;
            const float grain = static_cast<float>((state >> 24) & 15) - 7.5f;
            const float c = colWave[static_cast<size_t>(x)], r = rowWave[static_cast<size_t>(y)];
            const float texture = 0.004f * c * r;
            auto clamp = [](float v) {
                return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            };
            p[0] = clamp(30 + sky * 0.9f + c + texture + grain);
            p[1] = clamp(60 + sky * 0.6f + r + 0.5f * c + grain);
            p[2] = clamp(90 + sky * 0.3f - c + r + texture + grain);
        }
    }
    return out;
}

struct JpegOptions {
    int quality = 90;
    bool progressive = false;
    bool cmyk = false;                      // written as Adobe CMYK
    std::vector<uint8_t> app1;              // payload of an APP1 marker (EXIF), if any
    const jpeg_scan_info* scans = nullptr;  // a custom scan script
    int scanCount = 0;
};

namespace detail {
struct JpegWriteError {
    jpeg_error_mgr pub;
    jmp_buf jump;
};
inline void OnWriteError(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<JpegWriteError*>(cinfo->err)->jump, 1);
}

// Everything the compressor touches, so that nothing changes on the stack
// between setjmp and a longjmp.
struct JpegWriteState {
    jpeg_compress_struct cinfo{};
    JpegWriteError err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row;
};

inline bool Compress(JpegWriteState& s, const raster::Bitmap& bitmap, const JpegOptions& options) {
    if (setjmp(s.err.jump)) return false;
    jpeg_create_compress(&s.cinfo);
    jpeg_mem_dest(&s.cinfo, &s.buffer, &s.size);
    s.cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    s.cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    s.cinfo.input_components = options.cmyk ? 4 : 3;
    s.cinfo.in_color_space = options.cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&s.cinfo);
    jpeg_set_quality(&s.cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&s.cinfo);
    if (options.scans) {
        s.cinfo.scan_info = options.scans;
        s.cinfo.num_scans = options.scanCount;
    }
    jpeg_start_compress(&s.cinfo, TRUE);
    if (!options.app1.empty())
        jpeg_write_marker(&s.cinfo, JPEG_APP0 + 1, options.app1.data(),
                          static_cast<unsigned>(options.app1.size()));
    while (s.cinfo.next_scanline < s.cinfo.image_height) {
        const uint8_t* src = bitmap.row(static_cast<int>(s.cinfo.next_scanline));
        JSAMPROW row = const_cast<JSAMPROW>(src);
        if (options.cmyk) {
            // Adobe CMYK is stored inverted: a byte is the amount of light.
            for (int x = 0; x < bitmap.width(); ++x) {
                const uint8_t b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
                s.row[static_cast<size_t>(4 * x)] = r;
                s.row[static_cast<size_t>(4 * x + 1)] = g;
                s.row[static_cast<size_t>(4 * x + 2)] = b;
                s.row[static_cast<size_t>(4 * x + 3)] = 255;
            }
            row = s.row.data();
        }
        jpeg_write_scanlines(&s.cinfo, &row, 1);
    }
    jpeg_finish_compress(&s.cinfo);
    return true;
}
}  // namespace detail

inline std::vector<uint8_t> EncodeJpeg(const raster::Bitmap& bitmap,
                                       const JpegOptions& options = {}) {
    detail::JpegWriteState s;
    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = detail::OnWriteError;
    s.row.resize(static_cast<size_t>(bitmap.width()) * 4);
    const bool ok = detail::Compress(s, bitmap, options);
    std::vector<uint8_t> bytes;
    if (ok) bytes.assign(s.buffer, s.buffer + s.size);
    jpeg_destroy_compress(&s.cinfo);
    std::free(s.buffer);
    if (!ok) throw std::runtime_error("JPEG encoding failed");
    return bytes;
}

}  // namespace imaging::testing
