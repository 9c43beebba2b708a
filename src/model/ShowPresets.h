// Where a show will be watched ("Phone, vertical", "DVD, widescreen"...):
// named choices that set the video format, its shape and the MP4 frame rate
// together, one row each of one table, for the Options step's list and for
// "vantoshow build --preset".
//
// A preset is never stored: which one a show is follows from its settings
// (PresetOf), so projects keep exactly the keys they had, and a show whose
// settings match no row is "Custom". A preset leaves the quality, the
// television standard and every other setting alone; the MP4 rows that run
// at the television's rate take 50 under PAL and 60 under NTSC.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace model {

struct TslSettings;

struct ShowPreset {
    const char* label;  // as the window lists it
    const char* name;   // as --preset takes it (the label is taken too)
    uint8_t videoType;  // VideoType
    // The shape in VideoAspect numbers, kept in the format's own field
    // (SetBuildAspect): VideoAspect for MP4, DvdAspect for DVD.
    uint8_t shape;
    // VideoRate under PAL and under NTSC; the MP4 formats' only, the discs
    // keeping their standard's rate and the show's MP4 rate untouched.
    uint8_t palRate = 0;
    uint8_t ntscRate = 0;

    // The rate the row sets under a television standard (TVSet: 1 NTSC,
    // anything else PAL).
    uint8_t RateUnder(int32_t tvSet) const { return tvSet == 1 ? ntscRate : palRate; }
};

// Every preset, in the order the window lists them.
std::span<const ShowPreset> ShowPresets();

// The preset called 'name' (its command-line name or its label, letter case
// and surrounding spaces ignored), or nullptr.
const ShowPreset* PresetNamed(std::string_view name);
// The command-line names, "tv, phone, ... or vcd", for messages.
std::string PresetNameList();

// Sets the format, shape and (for MP4) rate of 'preset', the rate chosen
// for the settings' television standard.
void ApplyPreset(TslSettings& s, const ShowPreset& preset);
// The preset the settings are, comparing what the format uses (the MP4
// rate only for MP4), or nullptr for none: "Custom".
const ShowPreset* PresetOf(const TslSettings& s);

}  // namespace model
