// Title cards in the build: a card enters the frames as a picture whose
// pixels are its backdrop (a colour, a blurred copy of a chosen picture, or
// that picture filling the frame), and its words are caption lines centred
// in the title-safe area, stamped as captions are. The build, the player and
// single frames all start pictures through ShownPicture, which asks here, so
// a card looks the same in each.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "model/TitleCard.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/FrameGeometry.h"

namespace video {

using TitleCardLookup = std::function<std::optional<model::TitleCard>(const std::string&)>;

// The card's backdrop at the frame's size. Its picture is read through
// 'load'; one that cannot be read leaves the card's colour.
raster::Bitmap TitleCardBackdrop(const model::TitleCard& card, const LoadPictureFunction& load,
                                 const FrameFormat& format);

// 'load' with the cards 'cards' knows: a card loads as its backdrop, at the
// frame's size and covering it.
LoadPictureFunction TitleCardLoads(LoadPictureFunction load, TitleCardLookup cards,
                                   const FrameFormat& format);
// 'probe' that passes every card: there is no file of its own to read.
ProbeFileFunction TitleCardProbe(ProbeFileFunction probe);

// The frame a card's words are laid out in: centred in the title-safe
// area, in the style's font and colours, the title at the style's size or,
// when it sets none, twice the format's caption size.
std::optional<CaptionFrame> TitleCardFrame(const FrameFormat& format, int32_t tvSet,
                                           model::CaptionStyle style);

// The card's lines: the title fitted as a caption is (smaller, then two
// lines, then an ellipsis), and under it the second line at 3/5 of its
// size, the whole block centred in the frame and kept inside the area.
std::vector<CaptionLine> LayOutTitleCard(const CaptionFrame& frame, const model::TitleCard& card,
                                         const MeasureText& measure);

}  // namespace video
