#include "sound/SoundTestUtil.h"

#include <unistd.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace sound::test {

const std::vector<EncodedFormat>& EncodedFormats() {
    static const std::vector<EncodedFormat> formats{
        {"mp3", "mp3", "-c:a libmp3lame -b:a 128k", 44100},
        {"flac", "flac", "-c:a flac", 44100},
        {"vorbis", "ogg", "-c:a libvorbis -q:a 3", 44100},
        {"opus", "opus", "-c:a libopus -b:a 96k", 48000},
        {"opus_in_ogg", "ogg", "-c:a libopus -b:a 96k", 48000},
        {"wav", "wav", "-c:a pcm_s16le", 22050},
        {"aac", "m4a", "-c:a aac -b:a 128k", 44100},
        {"alac", "m4a", "-c:a alac", 32000},
    };
    return formats;
}

Scratch::Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vanto-sound-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

Scratch::~Scratch() {
    std::error_code ec;
    if (!std::getenv("VANTO_KEEP_SCRATCH")) std::filesystem::remove_all(path_, ec);
}

void Encode(const std::string& filter, double seconds, const EncodedFormat& format,
            const std::string& path) {
    std::ostringstream command;
    command << "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i \"" << filter
            << ",atrim=end_sample=" << static_cast<long long>(seconds * format.sampleRate + 0.5)
            << "\" -ar " << format.sampleRate << " " << format.codecArgs << " \"" << path
            << "\" 2>&1";
    FILE* pipe = popen(command.str().c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run ffmpeg");
    std::string output;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    if (pclose(pipe) != 0) throw std::runtime_error("ffmpeg failed for " + path + ": " + output);
}

std::string Tone(int frequency, double amplitude, int sampleRate) {
    std::ostringstream graph;
    graph << "aevalsrc=" << amplitude << "*sin(2*PI*" << frequency << "*t)|" << amplitude
          << "*sin(2*PI*" << frequency << "*t):s=" << sampleRate;
    return graph.str();
}

}  // namespace sound::test
