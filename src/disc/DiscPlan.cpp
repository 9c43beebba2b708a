#include "disc/DiscPlan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "video/EncoderPresets.h"

namespace disc {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string StripTrailingSlashes(std::string name) {
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    return name;
}

struct KindName {
    DiscKind kind;
    const char* word;
    const char* extension;  // the output names that ask for it
};
constexpr std::array kKindNames{
    KindName{DiscKind::Mpeg, "mpeg", nullptr},    KindName{DiscKind::Folder, "folder", nullptr},
    KindName{DiscKind::Iso, "iso", ".iso"},       KindName{DiscKind::BinCue, "bincue", ".cue"},
    KindName{DiscKind::BinCue, "bincue", ".bin"},
};

// DVD sectors hold 2048 bytes of the program stream; a CD sector in the
// video CD layout (mode 2, form 2) holds 2324. Sector counts are the
// recordable discs' usual ones (80 minutes for the CD).
constexpr DiscSize kDvd5{"DVD-5", "4.7 GB", int64_t{2295104} * 2048};
constexpr DiscSize kDvd9{"DVD-9", "8.5 GB", int64_t{4171712} * 2048};
constexpr DiscSize kCd{"CD", "700 MB", int64_t{360000} * 2324};

// Packs, system headers and padding on top of the streams' own rates.
constexpr double kMuxOverhead = 1.03;

std::string Gigabytes(int64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / 1e9);
    return text;
}

std::string Megabytes(int64_t bytes) {
    return std::to_string((bytes + 500000) / 1000000) + " MB";
}

}  // namespace

std::optional<DiscKind> ParseDiscKind(const std::string& word) {
    for (const KindName& entry : kKindNames)
        if (word == entry.word) return entry.kind;
    return std::nullopt;
}

DiscKind KindOfOutputName(const std::string& name) {
    const std::string lower = Lower(name);
    for (const KindName& entry : kKindNames)
        if (entry.extension && EndsWith(lower, entry.extension)) return entry.kind;
    return DiscKind::Mpeg;
}

base::Status CheckKindForFormat(DiscKind kind, int videoType) {
    if (kind != DiscKind::Mpeg && !video::IsDiscFormat(videoType))
        return base::MakeFault(
            "an MP4 video cannot be authored as a disc: a DVD-Video folder or image needs "
            "the DVD format, a .bin/.cue image the VCD or SVCD format",
            base::FaultKind::Refused);
    const bool dvd = videoType == static_cast<int>(video::VideoFormat::Dvd);
    if ((kind == DiscKind::Folder || kind == DiscKind::Iso) && !dvd)
        return base::MakeFault("a DVD-Video folder or image needs the DVD format",
                               base::FaultKind::Refused);
    if (kind == DiscKind::BinCue && dvd)
        return base::MakeFault("a .bin/.cue image needs the VCD or SVCD format",
                               base::FaultKind::Refused);
    return {};
}

std::string DiscOutputName(DiscKind kind, const std::string& chosenName) {
    const std::string name = StripTrailingSlashes(chosenName);
    const std::string lower = Lower(name);
    switch (kind) {
        case DiscKind::Mpeg:
            return chosenName;
        case DiscKind::Folder:
            return name;
        case DiscKind::Iso:
            return EndsWith(lower, ".iso") ? name : name + ".iso";
        case DiscKind::BinCue:
            if (EndsWith(lower, ".cue")) return name;
            if (EndsWith(lower, ".bin")) return name.substr(0, name.size() - 4) + ".cue";
            return name + ".cue";
    }
    return name;
}

std::string BinNameOfCue(const std::string& cueName) {
    return cueName.substr(0, cueName.size() - 4) + ".bin";
}

std::vector<double> ChapterSeconds(const std::vector<int64_t>& pictureStartFrames,
                                   int64_t framesEncoded, double framesPerSecond) {
    std::vector<int64_t> starts;
    for (int64_t frame : pictureStartFrames)
        if (frame < framesEncoded && (starts.empty() || frame > starts.back()))
            starts.push_back(frame);
    if (starts.empty() || starts.front() != 0) starts.insert(starts.begin(), 0);
    std::vector<double> seconds;
    const size_t count = std::min(starts.size(), kMaxChapters);
    seconds.reserve(count);
    for (size_t k = 0; k < count; ++k)
        seconds.push_back(static_cast<double>(starts[k * starts.size() / count]) / framesPerSecond);
    return seconds;
}

std::string VolumeLabel(const std::string& projectName) {
    std::string label;
    for (unsigned char c : projectName) {
        if (label.size() == 32) break;
        label += std::isalnum(c) && c < 0x80 ? static_cast<char>(std::toupper(c)) : '_';
    }
    const bool anything = std::any_of(label.begin(), label.end(), [](char c) { return c != '_'; });
    return anything ? label : "SLIDESHOW";
}

int64_t EstimatedVideoBytes(int videoType, int tvSet, double seconds) {
    const video::EncoderPreset* preset = video::FindPreset(videoType, tvSet == 1 ? 1 : 0);
    if (!preset || !(seconds > 0)) return 0;
    const double bitsPerSecond =
        static_cast<double>(preset->videoBitRate + preset->audioBitRate) * kMuxOverhead;
    return static_cast<int64_t>(std::ceil(bitsPerSecond * seconds / 8));
}

CapacityCheck CheckCapacity(DiscKind kind, int videoType, int64_t bytes) {
    CapacityCheck check;
    if (kind == DiscKind::Mpeg) return check;
    const bool dvd = videoType == static_cast<int>(video::VideoFormat::Dvd);
    check.disc = dvd ? kDvd5 : kCd;
    check.fits = bytes <= check.disc.bytes;
    if (check.fits) return check;
    const std::string size = dvd ? Gigabytes(bytes) : Megabytes(bytes);
    check.message = "The show needs about " + size + ", more than a " + check.disc.name + " (" +
                    check.disc.shown + ") holds";
    if (dvd && bytes <= kDvd9.bytes)
        check.message += std::string("; it needs a ") + kDvd9.name + " (" + kDvd9.shown + ")";
    else if (dvd)
        check.message += "; it does not fit even on a DVD-9 (8.5 GB)";
    else
        check.message += "; shorten it or build it for DVD";
    check.message += ".";
    return check;
}

}  // namespace disc
