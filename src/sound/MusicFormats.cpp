#include "sound/MusicFormats.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace sound {
namespace {

constexpr std::array<MusicFormat, 6> kFormats{{
    {"mp3", "MP3", MusicDecoder::MpegLibrary},
    {"flac", "FLAC", MusicDecoder::Ffmpeg},
    {"ogg", "Ogg Vorbis or Opus", MusicDecoder::Ffmpeg},
    {"opus", "Opus", MusicDecoder::Ffmpeg},
    {"wav", "WAV", MusicDecoder::Ffmpeg},
    {"m4a", "AAC or ALAC", MusicDecoder::Ffmpeg},
}};

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const MusicFormat* MusicFormatOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    const size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return nullptr;
    const std::string_view extension = fileName.substr(dot + 1);
    for (const MusicFormat& format : kFormats)
        if (SameNoCase(extension, format.extension)) return &format;
    return nullptr;
}

bool IsMusicFileName(std::string_view fileName) {
    return MusicFormatOf(fileName) != nullptr;
}

std::string MusicFilePatterns() {
    std::string patterns;
    for (const MusicFormat& format : kFormats)
        patterns += (patterns.empty() ? "*." : " *.") + std::string(format.extension);
    return patterns;
}

std::string MusicFormatNames() {
    std::string names;
    for (const MusicFormat& format : kFormats)
        if (names.find(format.name) == std::string::npos)
            names += (names.empty() ? "" : ", ") + std::string(format.name);
    return names;
}

}  // namespace sound
