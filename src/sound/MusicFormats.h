// The kinds of music file the show takes, by file name: which extensions,
// what the user is told they are, and which decoder plays them alone (the
// MP3 library for MP3, FFmpeg for the rest). The list, the file dialog, drag
// and drop, folder adding and the length pass all read this one table.
#pragma once

#include <string>
#include <string_view>

namespace sound {

enum class MusicDecoder { MpegLibrary, Ffmpeg };

struct MusicFormat {
    const char* extension;  // lower case, without the dot
    const char* name;
    MusicDecoder decoder;
};

// The format a file name's extension names, letter case ignored; null for
// any other name.
const MusicFormat* MusicFormatOf(std::string_view fileName);
bool IsMusicFileName(std::string_view fileName);

// "*.mp3 *.flac ..." for a file dialog's filter.
std::string MusicFilePatterns();
// "MP3, FLAC, ..." for the messages that name the formats taken.
std::string MusicFormatNames();

}  // namespace sound
