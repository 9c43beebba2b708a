// Helpers of the imaging tests: a scratch folder, picture files written in
// code (through Qt, FFmpeg's encoders, or byte by byte for the formats nothing
// here can write), and picture comparisons.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QImage>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include "imaging/DecodedImage.h"
#include "imaging/DecoderRegistry.h"
#include "imaging/PictureError.h"
#include "raster/Bitmap.h"

namespace imaging {
inline void PrintTo(const Size& size, std::ostream* os) {
    *os << size.width << " x " << size.height;
}
}  // namespace imaging

namespace imaging::testing {

using Bytes = std::vector<uint8_t>;
using raster::Color;
using raster::RGB;

constexpr Color kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kGrey = RGB(128, 128, 128);

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("vanto-imaging-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// How decoding a file fails: the error's kind and message. Fails the test
// when the file decodes, or when the error does not name the file.
struct Refusal {
    PictureError::Kind kind;
    std::string message;
};
inline Refusal RefusalOf(const std::string& path) {
    try {
        DecodePictureFile(path);
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_EQ(e.fileName(), path);
        return {e.kind(), e.what()};
    }
    ADD_FAILURE() << path << " decoded";
    return {PictureError::Kind::Corrupt, ""};
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void PutBe16(Bytes& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
}
inline void PutBe32(Bytes& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}
inline void PutLe16(Bytes& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
}
inline void PutLe32(Bytes& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// A picture of four flat quadrants, top-left, top-right, bottom-left,
// bottom-right.
inline raster::Bitmap Quadrants(int width, int height, raster::Color tl, raster::Color tr,
                                raster::Color bl, raster::Color br) {
    raster::Bitmap out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y,
                         y < height / 2 ? (x < width / 2 ? tl : tr) : (x < width / 2 ? bl : br));
    return out;
}

// Each pixel's colour tells where it came from: red = x, green = y, blue = x + y.
inline raster::Bitmap Coordinates(int width, int height) {
    raster::Bitmap out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y, raster::RGB(uint8_t(x), uint8_t(y), uint8_t(x + y)));
    return out;
}

inline bool Near(raster::Color a, raster::Color b, int tolerance) {
    return std::abs(raster::RedOf(a) - raster::RedOf(b)) <= tolerance &&
           std::abs(raster::GreenOf(a) - raster::GreenOf(b)) <= tolerance &&
           std::abs(raster::BlueOf(a) - raster::BlueOf(b)) <= tolerance;
}

inline double Psnr(const raster::Bitmap& a, const raster::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < a.width() * 3; ++i) {
            const double d = double(a.row(y)[i]) - double(b.row(y)[i]);
            sum += d * d;
        }
    const double mse = sum / (double(a.width()) * a.height() * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// A QImage of the bitmap; alpha (one byte a pixel) makes it ARGB32.
inline QImage ToQImage(const raster::Bitmap& bitmap, const Bytes& alpha = {}) {
    QImage image(bitmap.width(), bitmap.height(),
                 alpha.empty() ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const raster::Color c = bitmap.pixel(x, y);
            const int a =
                alpha.empty() ? 255 : alpha[size_t(y) * size_t(bitmap.width()) + size_t(x)];
            image.setPixel(x, y, qRgba(raster::RedOf(c), raster::GreenOf(c), raster::BlueOf(c), a));
        }
    return image;
}

// The 24-bit layout an FFmpeg image encoder takes: RGB for PCX and SGI, BGR
// for the rest.
inline AVPixelFormat Rgb24FormatOf(AVCodecID id) {
    return id == AV_CODEC_ID_PCX || id == AV_CODEC_ID_SGI ? AV_PIX_FMT_RGB24 : AV_PIX_FMT_BGR24;
}

// Encodes the bitmap with one of FFmpeg's image encoders in the given pixel
// format; alpha (one byte a pixel) is carried for formats that have it.
inline Bytes EncodeWithFfmpeg(AVCodecID id, AVPixelFormat format, const raster::Bitmap& bitmap,
                              const Bytes& alpha = {}) {
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec) throw std::runtime_error("no encoder");
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ctx->width = bitmap.width();
    ctx->height = bitmap.height();
    ctx->pix_fmt = format;
    ctx->time_base = AVRational{1, 25};
    if (avcodec_open2(ctx, codec, nullptr) < 0) throw std::runtime_error("cannot open encoder");
    AVFrame* frame = av_frame_alloc();
    frame->width = ctx->width;
    frame->height = ctx->height;
    frame->format = format;
    av_frame_get_buffer(frame, 0);
    std::vector<uint8_t> bgra(size_t(bitmap.width()) * size_t(bitmap.height()) * 4);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            uint8_t* p = bgra.data() + (size_t(y) * size_t(bitmap.width()) + size_t(x)) * 4;
            std::memcpy(p, bitmap.row(y) + 3 * x, 3);
            p[3] = alpha.empty() ? 255 : alpha[size_t(y) * size_t(bitmap.width()) + size_t(x)];
        }
    SwsContext* sws = sws_getContext(ctx->width, ctx->height, AV_PIX_FMT_BGRA, ctx->width,
                                     ctx->height, format, SWS_POINT, nullptr, nullptr, nullptr);
    const uint8_t* src[1] = {bgra.data()};
    const int srcStride[1] = {bitmap.width() * 4};
    sws_scale(sws, src, srcStride, 0, ctx->height, frame->data, frame->linesize);
    sws_freeContext(sws);
    AVPacket* packet = av_packet_alloc();
    Bytes out;
    if (avcodec_send_frame(ctx, frame) >= 0 && avcodec_send_frame(ctx, nullptr) >= 0)
        while (avcodec_receive_packet(ctx, packet) >= 0) {
            out.insert(out.end(), packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
    if (out.empty()) throw std::runtime_error("encoder produced nothing");
    return out;
}

// A GIF of up to four colours; 'transparent' is a palette index shown as
// transparent, or -1. The LZW stream restarts often enough that every code
// stays three bits wide, so no compression is needed to write it.
inline Bytes MakeGif(int width, int height, const std::vector<raster::Color>& palette,
                     const std::vector<uint8_t>& indices, int transparent) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(b, uint32_t(width));
    PutLe16(b, uint32_t(height));
    b.insert(b.end(), {0xF1, 0, 0});  // global table of 4 entries
    for (int i = 0; i < 4; ++i) {
        const raster::Color c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        b.insert(b.end(), {raster::RedOf(c), raster::GreenOf(c), raster::BlueOf(c)});
    }
    if (transparent >= 0) b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0});
    b.push_back(0x2C);
    PutLe16(b, 0);
    PutLe16(b, 0);
    PutLe16(b, uint32_t(width));
    PutLe16(b, uint32_t(height));
    b.push_back(0);
    b.push_back(2);  // minimum code size: clear = 4, end = 5, codes 3 bits
    Bytes data;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            data.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    // After a clear the decoder adds one table entry per code from the second
    // on; two codes per clear keep the table below 8 entries.
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) put(4);
        put(indices[i]);
    }
    put(5);
    if (count > 0) data.push_back(uint8_t(bits));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        b.push_back(uint8_t(n));
        b.insert(b.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

// A raw, uncompressed RGB (or RGBA) Photoshop file.
inline Bytes MakePsd(const raster::Bitmap& bitmap, const Bytes& alpha = {},
                     uint32_t declaredWidth = 0, uint32_t declaredHeight = 0) {
    Bytes b = {'8', 'B', 'P', 'S'};
    PutBe16(b, 1);
    b.insert(b.end(), 6, 0);
    PutBe16(b, alpha.empty() ? 3 : 4);
    PutBe32(b, declaredHeight ? declaredHeight : uint32_t(bitmap.height()));
    PutBe32(b, declaredWidth ? declaredWidth : uint32_t(bitmap.width()));
    PutBe16(b, 8);
    PutBe16(b, 3);  // RGB
    PutBe32(b, 0);  // colour mode data
    PutBe32(b, 0);  // image resources
    PutBe32(b, 0);  // layers and masks
    PutBe16(b, 0);  // raw image data, one plane after the other
    for (int channel : {2, 1, 0})
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) b.push_back(bitmap.row(y)[3 * x + channel]);
    b.insert(b.end(), alpha.begin(), alpha.end());
    return b;
}

// A Photo-CD image pac holding only the 768 x 512 base picture: luma
// 'leftLuma' in the left half and 'rightLuma' in the right, neutral chroma.
inline Bytes MakePhotoCd(uint8_t leftLuma, uint8_t rightLuma) {
    Bytes b(786432, 0);
    std::memcpy(b.data() + 0x800, "PCD_IPI", 7);
    size_t at = 196608;
    for (int y = 0; y < 512; y += 2) {
        for (int line = 0; line < 2; ++line)
            for (int x = 0; x < 768; ++x) b[at++] = x < 384 ? leftLuma : rightLuma;
        // The decoder takes 28 and 9 off the stored chroma.
        for (int x = 0; x < 384; ++x) b[at++] = 128 + 28;
        for (int x = 0; x < 384; ++x) b[at++] = 128 + 9;
    }
    return b;
}

// A 32-bit BMP with an alpha mask (BITMAPV4HEADER).
inline Bytes MakeBmpWithAlpha(const raster::Bitmap& bitmap, const Bytes& alpha) {
    const uint32_t w = uint32_t(bitmap.width()), h = uint32_t(bitmap.height());
    Bytes b = {'B', 'M'};
    PutLe32(b, 14 + 108 + w * h * 4);
    PutLe32(b, 0);
    PutLe32(b, 14 + 108);
    PutLe32(b, 108);
    PutLe32(b, w);
    PutLe32(b, h);
    PutLe16(b, 1);
    PutLe16(b, 32);
    PutLe32(b, 3);  // BI_BITFIELDS
    PutLe32(b, w * h * 4);
    PutLe32(b, 2835);
    PutLe32(b, 2835);
    PutLe32(b, 0);
    PutLe32(b, 0);
    PutLe32(b, 0x00FF0000);
    PutLe32(b, 0x0000FF00);
    PutLe32(b, 0x000000FF);
    PutLe32(b, 0xFF000000);
    PutLe32(b, 0x73524742);  // 'sRGB'
    b.insert(b.end(), 36 + 12, 0);
    for (int y = int(h) - 1; y >= 0; --y)
        for (int x = 0; x < int(w); ++x) {
            const uint8_t* p = bitmap.row(y) + 3 * x;
            b.insert(b.end(), {p[0], p[1], p[2], alpha[size_t(y) * w + size_t(x)]});
        }
    return b;
}

// The APP1 payload of an EXIF block holding only the Orientation tag and,
// when given, a thumbnail JPEG in a second IFD as cameras store it.
inline Bytes ExifOrientation(int orientation, bool bigEndian, const Bytes& thumbnail = {}) {
    Bytes b = {'E', 'x', 'i', 'f', 0, 0};
    auto u16 = [&](uint32_t v) { bigEndian ? PutBe16(b, v) : PutLe16(b, v); };
    auto u32 = [&](uint32_t v) { bigEndian ? PutBe32(b, v) : PutLe32(b, v); };
    if (bigEndian)
        b.insert(b.end(), {'M', 'M', 0, 42});
    else
        b.insert(b.end(), {'I', 'I', 42, 0});
    u32(8);       // first IFD
    u16(1);       // one entry
    u16(0x0112);  // Orientation
    u16(3);       // SHORT
    u32(1);
    u16(uint32_t(orientation));
    u16(0);
    if (thumbnail.empty()) {
        u32(0);  // no next IFD
        return b;
    }
    // Offsets count from the TIFF header: IFD0 ends at 26, IFD1 at 56.
    u32(26);
    u16(2);
    u16(0x0201);  // JPEGInterchangeFormat
    u16(4);       // LONG
    u32(1);
    u32(56);
    u16(0x0202);  // JPEGInterchangeFormatLength
    u16(4);
    u32(1);
    u32(uint32_t(thumbnail.size()));
    u32(0);
    b.insert(b.end(), thumbnail.begin(), thumbnail.end());
    return b;
}

}  // namespace imaging::testing
