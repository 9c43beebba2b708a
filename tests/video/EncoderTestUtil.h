// Helpers for the encoder and build tests: music made with ffmpeg's MP3
// encoder, a scratch folder, a driver that runs one conversion through the
// MclDef.h interface the way the video build does and records every
// callback, readers that look at the written file through libavformat and
// ffmpeg, and the checks every written video must pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "video/MclDef.h"

namespace video::test {

// A folder removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs a shell command; returns its exit status and puts stdout and stderr
// together into *output.
int RunCommand(const std::string& command, std::string* output = nullptr);

// Writes an MP3 of a sine tone lasting 'seconds' (ffmpeg, libmp3lame).
void MakeSineMp3(const std::string& path, double seconds, int frequency = 440,
                 int sampleRate = 44100);

// The size of the frames the build renders for a format (the encoder scales
// them to the format's own size).
std::pair<int, int> RenderedFrameSize(int format);

struct ConversionSpec {
    int format = kMclFormatVcd;
    int standard = kMclStandardPal;
    std::string output;
    bool withAudio = true;
    // Frames the video source gives before it reports the end; -1 never ends.
    int frames = 50;
    std::vector<std::string> music;
    // Drawn at the bottom of every frame when not empty.
    std::string caption;
    // MclAbort from the progress callback before this frame; -1 never.
    int abortAtFrame = -1;
    // Abort at the audio request that follows the last music file, as the
    // build does when the pictures are fitted to the music.
    bool abortWhenMusicEnds = false;
    int errorAnswer = kMclAnswerContinue;
    int keepDurationMs = -1;
    MclAudioMix mix;
};

struct ConversionLog {
    bool result = false;
    std::vector<std::pair<int, int>> progress;  // kind, value
    int videoRequests = 0;
    int framesGiven = 0;
    std::vector<int> audioIndices;
    std::vector<std::pair<int, std::string>> errors;
    int64_t audioSamplesSeen = 0;
    bool allOnCallingThread = true;
    // Every video request was preceded by exactly one progress call.
    bool oneProgressPerRequest = true;
    double elapsed = 0;
};

ConversionLog RunConversion(const ConversionSpec& spec);

struct StreamInfo {
    std::string codec;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    double displayAspect = 0;
    int sampleRate = 0;
    int channels = 0;
    double start = 0;  // seconds: first presentation time
    // Seconds: where the stream ends. For video, start plus one frame per
    // packet: program streams leave the times of some frames out.
    double end = 0;
    double lastTimedEnd = 0;  // last given presentation time plus duration
    int64_t packets = 0;
};

struct FileInfo {
    std::string format;
    std::optional<StreamInfo> video;
    std::optional<StreamInfo> audio;
};

// Reads the whole file with libavformat; nullopt when it cannot be opened.
std::optional<FileInfo> ProbeFile(const std::string& path);

// The sound track decoded to mono 16-bit samples at 'rate' (ffmpeg).
std::vector<int16_t> DecodeAudio(const std::string& path, int rate);
// Seconds from the start of 'samples' to the end of the last one louder than
// 'threshold'; 0 when all are quiet.
double LastSoundTime(const std::vector<int16_t>& samples, int rate, int threshold = 800);

// Seconds from the start of the video to the end of the last loud sound.
double MusicEndTime(const std::string& path, const FileInfo& info);

// Luma of video frame 'index' (from 0; kLastFrame for the last one) through
// ffmpeg, width x height bytes; empty when it cannot be decoded.
constexpr int kLastFrame = -1;
std::vector<uint8_t> DecodeFrameLuma(const std::string& path, int width, int height, int index);
// The same frame as 8-bit red, green and blue, 3 x width x height bytes.
std::vector<uint8_t> DecodeFrameRgb(const std::string& path, int width, int height, int index);
inline std::vector<uint8_t> DecodeFirstFrameLuma(const std::string& path, int width, int height) {
    return DecodeFrameLuma(path, width, height, 0);
}

// The box around the pixels of a luma frame brighter than 'threshold', in
// rows firstRow..lastRow; right < 0 when there is none.
struct InkBox {
    int left, right, top, bottom;
};
InkBox BrightBox(const std::vector<uint8_t>& luma, int width, int threshold, int firstRow,
                 int lastRow);

// The bytes of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Sound and picture start, and end, within one video frame of each other.
void ExpectEndsTogether(const FileInfo& info);

// dvdauthor (DVD) or vcdimager (VCD, SVCD) accepts the file, without errors
// or warnings; format and standard as MclSetFormatPreset takes them. The
// disc images are made in 'dir'.
void ExpectAuthoringAccepts(const std::string& path, int format, int standard,
                            const ScratchDir& dir);

}  // namespace video::test
