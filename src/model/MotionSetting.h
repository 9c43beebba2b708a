// Pan and zoom over a picture while it is on screen: the kinds a show or a
// picture may ask for, their names in the options store and on the command
// line, and where each picture's choice is stored (the show's is the
// "Motion" row of the settings key table). A missing key means no motion for
// the show and the show's motion for a picture, so projects written before
// motion existed build as they did. Auto aims at what the picture shows
// (faces, else its most striking part) and is where a new show starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

class IniFile;

// Auto comes last so the numbers of the older kinds stay what they were.
enum class MotionKind { None, ZoomIn, ZoomOut, PanLeft, PanRight, PanUp, PanDown, Random, Auto };

constexpr int kMinMotionStrength = 1;
constexpr int kMaxMotionStrength = 5;
constexpr int kDefaultMotionStrength = 3;

struct MotionSetting {
    MotionKind kind = MotionKind::None;
    int strength = kDefaultMotionStrength;  // 1 (5% of the picture) .. 5 (25%)
    friend bool operator==(const MotionSetting&, const MotionSetting&) = default;
};

// Every kind with its stored name, in the order the window lists them.
struct MotionKindName {
    MotionKind kind;
    const char* name;   // "zoom-in": options store and command line
    const char* label;  // "Zoom in": the window
};
extern const MotionKindName kMotionKinds[9];

// The motion of a show made from scratch (a store without settings).
inline constexpr MotionSetting kNewShowMotion{MotionKind::Auto, kDefaultMotionStrength};

const MotionKindName& MotionKindInfo(MotionKind kind);

// "zoom-in" or "zoom-in:4"; nullopt for an unknown name or a strength
// outside 1..5.
std::optional<MotionSetting> ParseMotion(std::string_view text);
// "zoom-in:4"; "none" without a strength.
std::string MotionText(const MotionSetting& motion);

// Store section of per-picture motion, read and written through PerImage.
extern const char* const kMotionSection;

// The picture's own motion, if it has one that can be read.
std::optional<MotionSetting> OwnMotion(const IniFile& notes, std::string_view path);
// Gives the picture its own motion, or (nullopt) the show's again (see
// SetOwnEntry).
void SetOwnMotion(IniFile& notes, std::string_view path,
                  const std::optional<MotionSetting>& motion);

}  // namespace model
