// The encoding library's interface: the calls the video build makes to turn
// rendered frames and music files into an MPEG file, and the callbacks
// through which the encoder asks for them.
//
// A conversion goes: MclCreate; the six MclAssign... registrations; a music
// list (MclListCreate, MclListAdd); the output (MclVideoSetFileName,
// MclAudioSetFileName, MclEnableMPEG2 for the MPEG-2 formats,
// MclSetFormatPreset, MclSetVideoOptions for MP4 and DVD, MclAddChapter for MP4,
// MclVideoSetKeepDuration); MclConvert, which runs until
// the video source has no more frames or the conversion is aborted; then
// MclListFree and MclFree.
//
// Every callback runs on the thread that called MclConvert, inside it. For
// each video frame the encoder first calls the progress callback (kind
// kMclProgressEncoding, value = frames done so far), then the video source
// (answered with MclSourceSetDIB or MclSourceFinished), then the video
// function, which may draw text into the frame with MclImgText. Music files
// are asked for by index through the audio source (answered with
// MclSourceSetFile or MclSourceFinished) when the previous one has ended;
// once the music has ended the sound track is silence, and it always ends
// with the video. A last progress call of kind kMclProgressFinished follows
// the conversion.
//
// Handles are 32-bit numbers; 0 is never a valid handle. Calls with an
// unknown handle do nothing and report failure.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sound/MixRules.h"
#include "video/SubtitleCues.h"

namespace raster {
class Bitmap;
}

namespace video {

using MclHandle = uint32_t;        // an encoder
using MclListHandle = uint32_t;    // a music list
using MclSourceHandle = uint32_t;  // the video or audio source of a running conversion
using MclImageHandle = uint32_t;   // the frame handed to the video function
using MclTextHandle = uint32_t;    // a text style
using MclColor = uint32_t;         // 0x00BBGGRR

// MclSetFormatPreset numbers.
constexpr int kMclFormatVcd = 0;
constexpr int kMclFormatSvcd = 1;
constexpr int kMclFormatDvd = 2;
constexpr int kMclFormatMp4_720p = 3;
constexpr int kMclFormatMp4_1080p = 4;
constexpr int kMclFormatMp4_4k = 5;
constexpr int kMclStandardPal = 0;
constexpr int kMclStandardNtsc = 1;
// MclSetVideoOptions numbers (FrameAspect and RateChoice in EncoderPresets.h).
constexpr int kMclAspectFormat = -1;   // the format's own: 16:9 for MP4, 4:3 for the discs
constexpr int kMclAspectWide = 0;      // 16:9
constexpr int kMclAspectStandard = 1;  // 4:3
constexpr int kMclAspectVertical = 2;  // 9:16
constexpr int kMclAspectSquare = 3;    // 1:1
constexpr int kMclAspectPortrait = 4;  // 4:5
constexpr int kMclQualityStandard = 0;
constexpr int kMclQualityHigh = 1;
constexpr int kMclRateOfStandard = 0;  // 25 for PAL, 30000/1001 for NTSC

// Progress kinds. Only kMclProgressEncoding (before every frame) and
// kMclProgressFinished (at the end) are sent: the build counts progress calls
// as frames.
constexpr int kMclProgressFinished = 0;
constexpr int kMclProgressPreparing = 1;
constexpr int kMclProgressCounting = 2;
constexpr int kMclProgressEncoding = 3;

// Error codes, and the answers the error callback can give. An unplayable
// music file is skipped when the answer is kMclAnswerContinue (the answer
// the callback starts with) and stops the conversion otherwise; an output
// that cannot be written always ends it.
constexpr int kMclErrorSettings = 1;
constexpr int kMclErrorOutput = 2;
constexpr int kMclErrorMusicFile = 3;
constexpr int kMclAnswerStop = 1;
constexpr int kMclAnswerContinue = 2;

// MclListAdd's entry type for a music file.
constexpr int kMclListMusicFile = 16;
// MclListGetSampleCount counts the music's length in samples at this rate.
constexpr int kMclListSampleRate = 44100;

// MclTextSetFont style flags and quality.
constexpr int kMclTextBold = 1;
constexpr int kMclTextItalic = 2;
constexpr int kMclTextUnderline = 4;
constexpr int kMclTextAliased = 0;
constexpr int kMclTextAntialiased = 1;
// MclTextSetColor background opacity meaning "no background box".
constexpr int kMclTextNoBackground = -1;

// Callbacks.
using MclVideoSourceProc = std::function<void(MclSourceHandle source, intptr_t reserved)>;
using MclVideoFuncProc =
    std::function<void(MclSourceHandle source, MclImageHandle image, intptr_t reserved)>;
using MclAudioSourceProc = std::function<void(MclSourceHandle source, int index)>;
// Sees (and may change) every piece of the sound track before it is encoded:
// 'count' interleaved stereo 16-bit samples.
using MclAudioFuncProc = std::function<void(MclSourceHandle source, int16_t* samples, int count)>;
using MclProgressProc =
    std::function<void(MclHandle handle, int kind, int value, intptr_t reserved)>;
using MclErrorProc = std::function<void(int code, const std::string& message, int* answer)>;

MclHandle MclCreate();
bool MclAssignVideoSource(MclHandle handle, MclVideoSourceProc callback);
bool MclAssignVideoFunc(MclHandle handle, MclVideoFuncProc callback);
bool MclAssignAudioSource(MclHandle handle, MclAudioSourceProc callback);
bool MclAssignAudioFunc(MclHandle handle, MclAudioFuncProc callback);
bool MclAssignProgress(MclHandle handle, MclProgressProc callback);
bool MclAssignError(MclHandle handle, MclErrorProc callback);

// Music lists. Entries are numbered from 0 in the order they were added.
MclListHandle MclListCreate();
bool MclListAdd(MclListHandle list, const std::string& fileName, int type = kMclListMusicFile,
                int reserved1 = 0, int reserved2 = 0);
// Length of all entries in samples at kMclListSampleRate; unreadable files
// count 0. Reads every file's header.
int64_t MclListGetSampleCount(MclListHandle list);
// Entry 'index' into *fileName; false when there is no such entry.
bool MclListGetName(MclListHandle list, int index, std::string* fileName);
void MclListFree(MclListHandle list);

// The output file. Video and sound are multiplexed into one file, so the
// audio file name is either the video file name or empty (no sound track).
bool MclVideoSetFileName(MclHandle handle, const std::string& path);
bool MclAudioSetFileName(MclHandle handle, const std::string& path);
// Allows the MPEG-2 formats (SVCD and DVD) for this process.
void MclEnableMPEG2();
bool MclSetFormatPreset(MclHandle handle, int format, int standard);
// Aspect, quality and frame rate (the format's own shape, Standard and the
// standard's rate unless set). The MP4 formats take all three; DVD takes
// the aspect (16:9 flags the same frame wide), VCD and SVCD none. False for
// an unknown aspect, quality or rate, or a shape the chosen format is not
// made in.
bool MclSetVideoOptions(MclHandle handle, int aspect, int quality, int rate = kMclRateOfStandard);
// A chapter from video frame 'frame' to the next chapter (the last one to
// the end of the video), named 'title' (UTF-8). Formats whose files hold
// chapters (MP4) write those that start before the video ends.
bool MclAddChapter(MclHandle handle, int64_t frame, const std::string& title);
// The captions as a subtitle track, for formats whose files hold one (MP4:
// mov_text); cues past the end of the video are dropped, the last one ends
// with it. None (the default) writes no track.
bool MclSetSubtitles(MclHandle handle, std::vector<SubtitleCue> cues);
// Longest video to write, in milliseconds; -1 writes every frame the video
// source gives.
bool MclVideoSetKeepDuration(MclHandle handle, int milliseconds);

// How the music files are mixed into the sound track: fades, crossfades,
// even loudness, and where the show cuts the music (-1: never).
struct MclAudioMix {
    sound::MixOptions options;
    int64_t cutEndMs = -1;
    // The even-loudness gain of a file; 1 when missing.
    std::function<double(const std::string& path)> gainOf;
};
bool MclAudioSetMix(MclHandle handle, MclAudioMix mix);

// Runs the conversion on the calling thread. Returns true when a complete,
// playable file was written (also after MclAbort, with what was encoded until
// then); false when the settings were incomplete, the output could not be
// written or an error callback stopped it. Exceptions thrown by callbacks
// pass through, as does std::bad_alloc when memory runs out, and the output
// is then not written.
bool MclConvert(MclHandle handle);
// Ends a running conversion after the current frame. May be called from any
// thread, and from inside the callbacks.
void MclAbort(MclHandle handle);
// Releases the encoder. A conversion still running completes its frame first.
void MclFree(MclHandle handle);

// Answers to the source callbacks, valid while the callback runs. The
// bitmap is copied: the caller may draw the next frame into the same one.
// 'unchanged' tells that it holds the same pixels as the previous frame
// given, so the encoder reuses that frame's copy and conversion instead
// (a frame of another size, or the first, is copied all the same).
bool MclSourceSetDIB(MclSourceHandle source, const raster::Bitmap& frame, bool unchanged = false);
bool MclSourceSetFile(MclSourceHandle source, const std::string& path);
bool MclSourceFinished(MclSourceHandle source);

// Seconds since the conversion started (its whole length once it has
// ended), and the estimated seconds still to go for a video of 'totalFrames'
// frames (or, with totalFrames <= 0, as long as 'sampleCount' samples of a
// music list).
double MclGetElapsedTime(MclHandle handle);
double MclGetRemainingTime(MclHandle handle, int64_t totalFrames, int64_t sampleCount);

// Text drawn into frames by the video function: a text style, and text
// placed with the top-left corner of its cell at (x, y) in pixels of the
// encoded frame (352, 480 or 720 wide). Drawing needs a QGuiApplication.
MclTextHandle MclTextCreate();
// 'size' is the font's pixel size; 'style' combines kMclTextBold, Italic and
// Underline; 'quality' is kMclTextAntialiased or kMclTextAliased. A missing
// fixed-pitch family such as "Fixedsys" is drawn in DejaVu Sans Mono.
bool MclTextSetFont(MclTextHandle text, const std::string& family, int size, int style,
                    int quality);
// Glyphs 'percent' of their own width (100 unless set): a frame shown with
// pixels wider than tall (a widescreen DVD) narrows them to keep their shape.
bool MclTextSetStretch(MclTextHandle text, int percent);
MclColor MclRGB(int red, int green, int blue);
// Text colour, shadow colour, and a box behind the text cell in 'backColor'
// drawn with 'backOpacity' 0..255 (kMclTextNoBackground: none).
bool MclTextSetColor(MclTextHandle text, MclColor color, MclColor shadowColor, MclColor backColor,
                     int backOpacity);
// The shadow is drawn 'distance' x (dx, dy) pixels from the text; distance 0
// draws none.
bool MclTextShadow(MclTextHandle text, int distance, int dx, int dy);
// An outline 'width' pixels wide around the glyphs in 'color'; 0 draws none.
bool MclTextOutline(MclTextHandle text, int width, MclColor color);
// The box behind the text (MclTextSetColor) reaches 'pad' pixels past the cell.
bool MclTextSetBoxPad(MclTextHandle text, int pad);
// Draws 'string' (UTF-8) into the frame at 'opacity' (0..256, 256 as drawn);
// only valid inside the video function.
bool MclImgText(MclImageHandle image, MclTextHandle text, int x, int y, const std::string& string,
                int opacity = 256);
void MclTextFree(MclTextHandle text);

}  // namespace video
