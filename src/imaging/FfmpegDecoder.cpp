#include "imaging/FfmpegDecoder.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "base/FfmpegLog.h"
#include "base/FfmpegUtil.h"
#include "imaging/FileBytes.h"
#include "imaging/MissingData.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

AVCodecID CodecFor(RasterFormat format) {
    switch (format) {
        case RasterFormat::Pcx:
            return AV_CODEC_ID_PCX;
        case RasterFormat::Targa:
            return AV_CODEC_ID_TARGA;
        case RasterFormat::Sgi:
            return AV_CODEC_ID_SGI;
        case RasterFormat::Photoshop:
            return AV_CODEC_ID_PSD;
        case RasterFormat::PhotoCd:
            return AV_CODEC_ID_PHOTOCD;
        case RasterFormat::SunRaster:
            return AV_CODEC_ID_SUNRAST;
        case RasterFormat::Xwd:
            return AV_CODEC_ID_XWD;
    }
    return AV_CODEC_ID_NONE;
}

// The whole file as the payload of one packet: every one of these formats
// holds a single picture.
base::PacketPtr ReadPacket(const std::string& fileName) {
    const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
    base::PacketPtr packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0)
        throw std::bad_alloc();
    std::memcpy(packet->data, bytes.data(), bytes.size());
    return packet;
}

base::FramePtr DecodePacket(const std::string& fileName, AVCodecID id, AVPacket* packet) {
    base::RouteFfmpegLog();
    const AVCodec* codec = avcodec_find_decoder(id);
    if (!codec)
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           "this FFmpeg has no decoder for the format");
    base::CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) throw std::bad_alloc();
    // Second line of defence behind the header check: FFmpeg refuses to
    // allocate a frame above this.
    context->max_pixels = raster::Bitmap::kMaxPixels;
    context->thread_count = 1;
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           "the decoder cannot be opened");

    base::FramePtr frame(av_frame_alloc());
    if (!frame) throw std::bad_alloc();
    int rc = avcodec_send_packet(context.get(), packet);
    if (rc >= 0) {
        rc = avcodec_receive_frame(context.get(), frame.get());
        if (rc == AVERROR(EAGAIN)) {
            avcodec_send_packet(context.get(), nullptr);
            rc = avcodec_receive_frame(context.get(), frame.get());
        }
    }
    if (rc < 0)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "broken picture data: " + base::AvErrorText(rc));
    if (frame->width <= 0 || frame->height <= 0)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "the decoder produced no picture");
    return frame;
}

DecodedImage ConvertFrame(const std::string& fileName, const AVFrame& frame) {
    const auto format = static_cast<AVPixelFormat>(frame.format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc)
        throw PictureError(PictureError::Kind::Unsupported, fileName, "unknown pixel format");
    // A palette may carry transparency too.
    const bool mayBeTransparent =
        (desc->flags & (AV_PIX_FMT_FLAG_ALPHA | AV_PIX_FMT_FLAG_PAL)) != 0;
    const int w = frame.width, h = frame.height;
    base::SwsPtr sws(sws_getContext(
        w, h, format, w, h, mayBeTransparent ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24,
        SWS_BICUBIC | SWS_FULL_CHR_H_INT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr));
    if (!sws)
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           std::string("pixel format ") + desc->name + " cannot be converted");
    const bool yuv = !(desc->flags & AV_PIX_FMT_FLAG_RGB) && desc->nb_components >= 3;
    if (yuv) {
        const int space =
            frame.colorspace == AVCOL_SPC_UNSPECIFIED ? SWS_CS_DEFAULT : frame.colorspace;
        sws_setColorspaceDetails(sws.get(), sws_getCoefficients(space),
                                 frame.color_range == AVCOL_RANGE_JPEG,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    }

    DecodedImage result;
    result.natural = Size{w, h};
    result.pixels = raster::Bitmap(w, h);
    if (!mayBeTransparent) {
        uint8_t* dst[4] = {result.pixels.bits(), nullptr, nullptr, nullptr};
        const int dstStride[4] = {static_cast<int>(result.pixels.stride()), 0, 0, 0};
        sws_scale(sws.get(), frame.data, frame.linesize, 0, h, dst, dstStride);
        return result;
    }
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    uint8_t* dst[4] = {bgra.data(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {w * 4, 0, 0, 0};
    sws_scale(sws.get(), frame.data, frame.linesize, 0, h, dst, dstStride);
    result.alpha.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    bool opaque = true, invisible = true;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = bgra.data() + static_cast<size_t>(y) * static_cast<size_t>(w) * 4;
        uint8_t* out = result.pixels.row(y);
        uint8_t* alpha = result.alpha.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            alpha[x] = in[3];
            opaque = opaque && in[3] == 255;
            invisible = invisible && in[3] == 0;
        }
    }
    // Old Targa and Photoshop writers leave a fourth channel at zero: an alpha
    // channel that hides the whole picture is an unused one.
    if (opaque || invisible) result.alpha.clear();
    return result;
}

}  // namespace

DecodedImage DecodeWithFfmpeg(const std::string& fileName, RasterFormat format) {
    auto packet = ReadPacket(fileName);
    const auto declared = PeekHeaderSize(
        format, std::span<const uint8_t>(packet->data, static_cast<size_t>(packet->size)));
    if (!declared)
        throw PictureError(PictureError::Kind::WrongContent, fileName,
                           std::string("the content is not in ") + FormatName(format) + " format");
    if (declared->width <= 0 || declared->height <= 0)
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "the header gives no picture size");
    if (declared->width > raster::Bitmap::kMaxPixels ||
        declared->height > raster::Bitmap::kMaxPixels ||
        declared->width * declared->height > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           std::to_string(declared->width) + " x " +
                               std::to_string(declared->height) +
                               " pixels is above the limit of 100 megapixels");
    auto frame = DecodePacket(fileName, CodecFor(format), packet.get());
    // FFmpeg stops quietly where run-length data runs out.
    if (format == RasterFormat::SunRaster)
        if (const auto complete = CheckComplete(
                StructuredFormat::SunRaster,
                std::span<const uint8_t>(packet->data, static_cast<size_t>(packet->size)));
            !complete)
            throw PictureError(PictureError::Kind::Damaged, fileName,
                               "the picture is damaged: " + complete.message());
    return ConvertFrame(fileName, *frame);
}

}  // namespace imaging
