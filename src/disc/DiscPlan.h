// What a disc build makes of the finished MPEG file, worked out before any
// tool runs: the kind of output (the MPEG itself, a DVD-Video folder, a DVD
// image, a VCD/SVCD .bin/.cue pair), the names written, the chapter points,
// the volume label, and whether the show fits on the disc.
//
// Nothing here touches a file, so the window, the command line and the tests
// all decide the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace disc {

enum class DiscKind { Mpeg, Folder, Iso, BinCue };

// "mpeg", "folder", "iso" or "bincue"; nothing for any other word.
std::optional<DiscKind> ParseDiscKind(const std::string& word);

// The kind a chosen output name asks for: ".iso" an image, ".cue" or ".bin"
// a CD image pair (any letter case), everything else the MPEG file. A folder
// is only ever written when asked for by name (--disc folder, or the save
// dialog's folder type), so a folder typed by mistake is not filled.
DiscKind KindOfOutputName(const std::string& name);

// Whether the kind suits the video format: a DVD folder or image needs the
// DVD format, a .bin/.cue pair VCD or SVCD; the fault says which.
[[nodiscard]] base::Status CheckKindForFormat(DiscKind kind, int videoType);

// The name written for the chosen one: the folder without its trailing
// slashes, "NAME.iso", or the cue sheet "NAME.cue" (".bin" or ".cue" taken off
// first). The MPEG kind keeps the name as it is.
std::string DiscOutputName(DiscKind kind, const std::string& chosenName);
// The track file beside a cue sheet: "NAME.bin" for "NAME.cue".
std::string BinNameOfCue(const std::string& cueName);

// The most chapters a DVD title can mark.
constexpr size_t kMaxChapters = 99;

// Chapter starts in seconds: one at the first frame of every picture that
// made it into the video (framesEncoded cuts a show that ended with its
// music). Beyond kMaxChapters pictures the chapters fall on pictures spread
// evenly over the show, the first always at 0.
std::vector<double> ChapterSeconds(const std::vector<int64_t>& pictureStartFrames,
                                   int64_t framesEncoded, double framesPerSecond);

// The volume label: the project name in capitals, letters other than A-Z and
// digits turned into "_", at most 32 characters (ISO 9660 allows no more);
// "SLIDESHOW" when nothing of the name is left.
std::string VolumeLabel(const std::string& projectName);

struct DiscSize {
    const char* name;   // "DVD-5"
    const char* shown;  // "4.7 GB"
    int64_t bytes;      // MPEG bytes it holds
};

// Expected size of the MPEG file of a show lasting 'seconds', from the
// format's average stream rates and the multiplexer's overhead.
int64_t EstimatedVideoBytes(int videoType, int tvSet, double seconds);

struct CapacityCheck {
    bool fits = true;
    DiscSize disc{};      // the disc the kind is written for
    std::string message;  // when it does not fit: the size, the disc, the disc it needs
};
// Whether 'bytes' of MPEG fit on the disc of the kind: a DVD-5 for a DVD
// folder or image (a DVD-9 named when it would do), a CD for VCD and SVCD.
// The MPEG kind always fits.
CapacityCheck CheckCapacity(DiscKind kind, int videoType, int64_t bytes);

}  // namespace disc
