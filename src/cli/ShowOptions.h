// What the commands that take a project's show share (build, frame): the
// store the show comes from, the collect step the window takes before a
// build, and the options that override the project's settings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/Result.h"
#include "cli/CaptionOptions.h"
#include "cli/MusicMixOptions.h"
#include "imaging/PictureOrder.h"
#include "model/BackgroundMode.h"
#include "model/IniFile.h"
#include "model/MotionSetting.h"
#include "model/Show.h"
#include "model/ShowPresets.h"

namespace cli {

struct ShowOverrides {
    const model::ShowPreset* preset = nullptr;
    std::optional<uint8_t> videoType;
    std::optional<uint8_t> aspect;
    std::optional<uint8_t> quality;
    std::optional<uint8_t> rate;
    std::optional<int32_t> tvSet;
    std::optional<uint8_t> musicSync;
    std::optional<model::BackgroundMode> background;
    std::optional<model::MotionSetting> motion;
    std::optional<uint8_t> motionFit;  // a model::MotionFit
    std::optional<uint8_t> subtitles;  // model::SubtitleMode
    // --captions: off, or on with the source for pictures without their own.
    std::optional<bool> showCaption;
    std::optional<uint8_t> captionSource;
    std::optional<imaging::PictureOrder> sort;  // applied as the lists are collected
    // --title: an opening title card, added once the lists are collected.
    std::optional<std::string> title;
    MusicMixOverrides mix;
    CaptionOverrides caption;
};

// A wrong argument: the command prints the reason and exits with its usage code.
base::Fault Usage(std::string reason);

// Takes 'arg' when it is one of the overriding options (--preset, --format,
// --aspect, --quality, --fps, --standard, --sync, --background, --motion,
// --motion-fit, --captions, --sort, --subtitles, --title, the music's, the captions'),
// reading its value through 'value'. Returns whether it was one, or why its
// value is wrong.
base::Result<bool> TakeShowOption(const std::string& arg,
                                  const std::function<bool(std::string&)>& value,
                                  ShowOverrides& overrides);
// Applies the options to the settings; --aspect sets the shape of the format
// chosen (an MP4 format's, the DVD's), and a shape the format does not come
// in (16:9 for VCD or SVCD) is a wrong argument. The preset goes first, at
// the standard asked for, and the detailed options change what it set,
// whatever the order they were given in.
[[nodiscard]] base::Status ApplyShowOverrides(const ShowOverrides& overrides,
                                              model::TslSettings& settings);

// The store the show is taken from: the named project, else a copy of the
// working options file. Nothing is written to either.
base::Result<model::IniFile> ShowStore(const std::string& fileName);

// The collect step of the window, for the lists as stored: the music is
// measured where the store does not know its length; the pictures are then
// put in the overrides' sort order when one is given, and the show opens
// with their title card when one is given.
void CollectStoredShow(model::IniFile& store, model::Show& show,
                       const ShowOverrides& overrides = {});

// Puts a title card saying 'title' before the show's first picture, over
// that picture's blurred copy (black when the show has no picture).
void OpenWithTitle(model::Show& show, const std::string& title);

}  // namespace cli
