// Encoder speed. "frames" writes a slideshow-like run of raw 24-bit frames
// (pictures held, then wiped into the next) for both encoders to read;
// "encode" feeds those frames through the MclDef.h interface, with music and
// optionally a caption, and prints frames per second. encoder_speed.sh runs
// this against the ffmpeg program with the same settings.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "raster/Bitmap.h"
#include "video/MclDef.h"

namespace {

using namespace video;

int Usage() {
    std::fprintf(stderr,
                 "usage: bench_encoder frames OUT.raw WIDTH HEIGHT COUNT\n"
                 "       bench_encoder encode IN.raw WIDTH HEIGHT FORMAT STANDARD MUSIC.mp3 "
                 "OUT.mpg [caption]\n");
    return 2;
}

// A photo-like picture: smooth colour fields with fine texture.
void PaintPicture(std::vector<uint8_t>& pixels, int width, int height, int seed) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = x / static_cast<double>(width), v = y / static_cast<double>(height);
            const double field = std::sin(u * (5 + seed) + seed) + std::cos(v * (3 + seed) - u * 2);
            const int grain =
                static_cast<int>((x * 73856093u ^ y * 19349663u ^ seed * 83492791u) % 23);
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(std::clamp(110 + 60 * field + grain, 0.0, 255.0));
            p[1] = static_cast<uint8_t>(
                std::clamp(100 + 70 * std::sin(field * 2 + v * 4) + grain, 0.0, 255.0));
            p[2] = static_cast<uint8_t>(
                std::clamp(120 + 80 * std::cos(field + u * 3) + grain, 0.0, 255.0));
        }
    }
}

int WriteFrames(const char* path, int width, int height, int count) {
    FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    const size_t size = static_cast<size_t>(width) * height * 3;
    std::vector<uint8_t> previous(size), next(size), frame(size);
    PaintPicture(previous, width, height, 0);
    PaintPicture(next, width, height, 1);
    // A picture is held for 50 frames, then the next one wipes in over 35.
    constexpr int kHold = 50, kTransition = 35;
    int picture = 1;
    for (int i = 0; i < count; ++i) {
        const int pos = i % (kHold + kTransition);
        if (pos == 0 && i > 0) {
            previous.swap(next);
            PaintPicture(next, width, height, ++picture);
        }
        if (pos < kHold) {
            std::memcpy(frame.data(), previous.data(), size);
        } else {
            const int edge = width * (pos - kHold + 1) / kTransition;
            for (int y = 0; y < height; ++y) {
                const size_t row = static_cast<size_t>(y) * width * 3;
                std::memcpy(&frame[row], &next[row], static_cast<size_t>(edge) * 3);
                std::memcpy(&frame[row + edge * 3], &previous[row + edge * 3],
                            static_cast<size_t>(width - edge) * 3);
            }
        }
        if (std::fwrite(frame.data(), 1, size, out) != size) return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int Encode(const char* rawPath, int width, int height, int format, int standard,
           const std::string& music, const std::string& output, const std::string& caption) {
    FILE* in = std::fopen(rawPath, "rb");
    if (!in) return 1;
    raster::Bitmap frame(width, height);
    int frames = 0;
    bool failed = false;

    const MclHandle handle = MclCreate();
    const MclListHandle list = MclListCreate();
    MclListAdd(list, music, kMclListMusicFile, 0, 0);
    MclAssignVideoSource(handle, [&](MclSourceHandle source, intptr_t) {
        for (int y = 0; y < height; ++y) {
            if (std::fread(frame.row(y), 1, static_cast<size_t>(width) * 3, in) !=
                static_cast<size_t>(width) * 3) {
                MclSourceFinished(source);
                return;
            }
        }
        MclSourceSetDIB(source, frame);
        ++frames;
    });
    MclAssignVideoFunc(handle, [&](MclSourceHandle, MclImageHandle image, intptr_t) {
        if (caption.empty()) return;
        const MclTextHandle text = MclTextCreate();
        MclTextSetFont(text, "Fixedsys", 36, 1, 1);
        MclTextSetColor(text, MclRGB(225, 225, 225), MclRGB(96, 96, 96), 0x808080, -1);
        MclTextShadow(text, 2, 1, 1);
        MclImgText(image, text, 40, 430, caption);
        MclTextFree(text);
    });
    MclAssignAudioSource(handle, [&](MclSourceHandle source, int index) {
        std::string name;
        if (MclListGetName(list, index, &name))
            MclSourceSetFile(source, name);
        else
            MclSourceFinished(source);
    });
    MclAssignError(handle, [&](int, const std::string& message, int* answer) {
        std::fprintf(stderr, "error: %s\n", message.c_str());
        failed = true;
        *answer = kMclAnswerContinue;
    });
    MclVideoSetFileName(handle, output);
    MclAudioSetFileName(handle, output);
    if (format != kMclFormatVcd) MclEnableMPEG2();
    MclSetFormatPreset(handle, format, standard);
    MclVideoSetKeepDuration(handle, -1);

    const auto start = std::chrono::steady_clock::now();
    const bool ok = MclConvert(handle);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    MclListFree(list);
    MclFree(handle);
    std::fclose(in);
    std::printf("%d frames in %.3f s: %.1f frames/s\n", frames, seconds, frames / seconds);
    return ok && !failed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 6 && std::strcmp(argv[1], "frames") == 0)
        return WriteFrames(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc >= 9 && std::strcmp(argv[1], "encode") == 0) {
        QGuiApplication app(argc, argv);  // fonts for the caption
        return Encode(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                      std::atoi(argv[6]), argv[7], argv[8], argc >= 10 ? argv[9] : "");
    }
    return Usage();
}
