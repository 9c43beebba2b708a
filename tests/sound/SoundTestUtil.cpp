#include "sound/SoundTestUtil.h"

#include <unistd.h>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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
        {"aac_itunes_tag", "m4a", "-c:a aac -b:a 128k -use_editlist 0", 44100, true},
        {"aac_edit_list_and_itunes_tag", "m4a", "-c:a aac -b:a 128k", 44100, true},
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

namespace {

// FFmpeg's AAC encoder starts every file with one frame of priming.
constexpr int64_t kAacFrame = 1024, kAacDelay = 1024;

void PutBig32(std::string& out, uint64_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

std::string Box(const char* type, const std::string& payload) {
    std::string box;
    PutBig32(box, 8 + payload.size());
    return box + type + payload;
}

// Appends udta/meta/ilst/---- ("com.apple.iTunes", "iTunSMPB") to the moov
// box, which FFmpeg writes last: nothing after it moves, so no chunk offset
// changes, only the moov size.
void AddItunesGaplessTag(const std::string& path, int64_t validSamples) {
    std::string file;
    {
        std::ifstream in(path, std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), {});
    }
    size_t moov = std::string::npos;
    for (size_t at = 0; at + 8 <= file.size();) {
        const auto byte = [&](size_t i) { return static_cast<uint64_t>(uint8_t(file[at + i])); };
        const uint64_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        if (file.compare(at + 4, 4, "moov") == 0) moov = at;
        if (size < 8) break;
        at += size;
    }
    if (moov == std::string::npos) throw std::runtime_error("no moov box in " + path);
    const int64_t frames = (kAacDelay + validSamples + kAacFrame - 1) / kAacFrame;
    char value[96];
    std::snprintf(value, sizeof value, " 00000000 %08llX %08llX %016llX 00000000 00000000",
                  static_cast<unsigned long long>(kAacDelay),
                  static_cast<unsigned long long>(frames * kAacFrame - kAacDelay - validSamples),
                  static_cast<unsigned long long>(validSamples));
    const std::string zero4(4, '\0'), dataType("\0\0\0\1\0\0\0\0", 8);
    const std::string freeform =
        Box("----", Box("mean", zero4 + "com.apple.iTunes") + Box("name", zero4 + "iTunSMPB") +
                        Box("data", dataType + value));
    const std::string handler =
        Box("hdlr", std::string(8, '\0') + "mdirappl" + std::string(9, '\0'));
    file += Box("udta", Box("meta", zero4 + handler + Box("ilst", freeform)));
    std::string moovSize;
    PutBig32(moovSize, file.size() - moov);
    file.replace(moov, 4, moovSize);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;
}

}  // namespace

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
    if (format.itunesTag)
        AddItunesGaplessTag(path, static_cast<int64_t>(seconds * format.sampleRate + 0.5));
}

std::string Tone(int frequency, double amplitude, int sampleRate) {
    std::ostringstream graph;
    graph << "aevalsrc=" << amplitude << "*sin(2*PI*" << frequency << "*t)|" << amplitude
          << "*sin(2*PI*" << frequency << "*t):s=" << sampleRate;
    return graph.str();
}

std::string Clicks(double bpm, int sampleRate) {
    const std::string period = std::to_string(60.0 / bpm);
    return "aevalsrc='if(lt(mod(t," + period + "),0.02),sin(2*PI*1500*t)*exp(-200*mod(t," + period +
           ")),0)|if(lt(mod(t," + period + "),0.02),sin(2*PI*1500*t)*exp(-200*mod(t," + period +
           ")),0)':s=" + std::to_string(sampleRate);
}

}  // namespace sound::test
