// How a moving picture of other proportions than the frame's is shown: cut
// to fill the frame while it moves, or whole on the fill behind it (as a
// still picture lies), or chosen per picture from what it shows. The show's
// choice is the "MotionFit" row of the settings key table; a picture's own
// is kept in a section keyed like the captions. A project without the key
// fills the frame, as every moving picture did before the choice existed; a
// new show starts at Auto.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/VideoFormatKeys.h"

namespace model {

class IniFile;

// Stored in the record as its number; Fill is 0, so a record that never
// heard of it fills.
enum class MotionFit : uint8_t { Fill, Whole, Auto };

// The stored and command-line names, in the order the window lists them.
inline constexpr std::array<NamedValue, 3> kMotionFitNames{{
    {static_cast<uint8_t>(MotionFit::Auto), "auto"},
    {static_cast<uint8_t>(MotionFit::Fill), "fill"},
    {static_cast<uint8_t>(MotionFit::Whole), "whole"},
}};

// The window's words for each choice.
const char* MotionFitLabel(MotionFit fit);

inline constexpr MotionFit kNewShowMotionFit = MotionFit::Auto;

std::optional<MotionFit> ParseMotionFit(std::string_view text);
const char* MotionFitName(MotionFit fit);

// Store section of per-picture fits, read and written through PerImage.
extern const char* const kMotionFitSection;

// The picture's own fit, if it has one that can be read.
std::optional<MotionFit> OwnMotionFit(const IniFile& notes, std::string_view path);
// Gives the picture its own fit, or (nullopt) the show's again.
void SetOwnMotionFit(IniFile& notes, std::string_view path, const std::optional<MotionFit>& fit);

}  // namespace model
