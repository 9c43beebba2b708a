// Music files for the sound tests, made at test time with the ffmpeg command
// line: one row per format the show takes, tones and noise from FFmpeg's
// sources, and a scratch folder for them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sound::test {

struct EncodedFormat {
    const char* label;
    const char* extension;
    const char* codecArgs;
    int sampleRate;
    // Tagged after encoding with the iTunes gapless data (delay, padding,
    // valid samples) that FFmpeg's encoder leaves out.
    bool itunesTag = false;
};

// Every format the show takes, with the encoder that writes it.
const std::vector<EncodedFormat>& EncodedFormats();

class Scratch {
public:
    Scratch();
    ~Scratch();
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Encodes 'filter' (an FFmpeg source graph, e.g. "sine=f=440") cut to exactly
// 'seconds' into 'path' in 'format'; throws with ffmpeg's words on failure.
void Encode(const std::string& filter, double seconds, const EncodedFormat& format,
            const std::string& path);

// A stereo tone of 'frequency' Hz at 'amplitude' (full scale 1.0).
std::string Tone(int frequency, double amplitude, int sampleRate);

// A stereo click track at 'bpm': a short decaying 1.5 kHz burst on every
// beat, the first at 0 s.
std::string Clicks(double bpm, int sampleRate);

}  // namespace sound::test
